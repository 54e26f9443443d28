// The middle column: `SelectionChooser` with the "Auswahlliste bearbeiten" button, and
// `SelectionSongList` with the songs of the chosen selection in their order.
#pragma once

#include <QWidget>

class QComboBox;
class QToolButton;

namespace psalmora {

struct AppState;
class SongListWidget;

class SelectionColumn : public QWidget {
  Q_OBJECT

 public:
  SelectionColumn(AppState& state, QWidget* parent = nullptr);

  QComboBox* SelectionChooser() const { return chooser_; }
  QToolButton* EditSelectionsButton() const { return edit_; }
  SongListWidget* SelectionSongList() const { return songs_; }

 private:
  QComboBox* chooser_ = nullptr;
  QToolButton* edit_ = nullptr;
  SongListWidget* songs_ = nullptr;
};

}  // namespace psalmora
