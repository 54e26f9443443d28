// The search page of the left column: search text, the field to search in, the start button, the
// status line and `SearchHitList`.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace psalmora {

struct AppState;
class SongListWidget;

class SearchPage : public QWidget {
  Q_OBJECT

 public:
  SearchPage(AppState& state, QWidget* parent = nullptr);

  QLineEdit* SearchField() const { return searchField_; }
  QComboBox* SearchScope() const { return searchScope_; }
  QToolButton* SearchButton() const { return searchButton_; }
  QLabel* SearchStatus() const { return searchStatus_; }
  SongListWidget* SearchHitList() const { return searchHits_; }

 signals:
  // The button, Return in the search field or Return in the field chooser.
  void searchRequested();

 private:
  QLineEdit* searchField_ = nullptr;
  QComboBox* searchScope_ = nullptr;
  QToolButton* searchButton_ = nullptr;
  QLabel* searchStatus_ = nullptr;
  SongListWidget* searchHits_ = nullptr;
};

// Fills the search scope: the label of every song-schema row in schema order (untranslated), then
// "Liedtext"; entry 2 ("Titel") is chosen.
void FillFieldChooser(QComboBox& chooser);

}  // namespace psalmora
