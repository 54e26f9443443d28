// The search page of the left column: search text, the field to search in, the start button, the
// status line and `SearchHitList`.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
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
  QCheckBox* SearchAsYouType() const { return asYouType_; }

  // The pause after the last key before a search as you type starts.
  static constexpr int kTypingPauseMs = 200;

 signals:
  // The button, Return in the search field or Return in the field chooser.
  void searchRequested();
  // With search as you type: the search text or field changed and then rested for a moment. A newer
  // change within the pause replaces the older one.
  void typingSearchRequested();

 private:
  QLineEdit* searchField_ = nullptr;
  QComboBox* searchScope_ = nullptr;
  QToolButton* searchButton_ = nullptr;
  QLabel* searchStatus_ = nullptr;
  SongListWidget* searchHits_ = nullptr;
  QCheckBox* asYouType_ = nullptr;
  QTimer* typingPause_ = nullptr;
};

// Fills the search scope: the label of every song-schema row in schema order (untranslated), then
// "Liedtext"; entry 2 ("Titel") is chosen.
void FillFieldChooser(QComboBox& chooser);

}  // namespace psalmora
