// The left column of the main window: the icon-only page panel (groups, search, Bible, videos, files) and
// the song toolbar beneath it.
#pragma once

#include <QWidget>
#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace psalmora {

struct AppState;
class BiblePage;
class FilePage;
class SearchPage;
class SongListWidget;
class VideoPage;

enum class SongToolbarCommand { AddToSelection, MoveUp, MoveDown, RemoveFromSelection };

class LeftColumn : public QWidget {
  Q_OBJECT

 public:
  enum Page { kGroupsPage = 0, kSearchPage = 1, kBiblePage = 2, kVideoPage = 3, kFilePage = 4 };

  LeftColumn(AppState& state, QWidget* parent = nullptr);

  QTabWidget* Pages() const { return pages_; }

  // Groups page.
  QComboBox* GroupChooser() const { return groupChooser_; }
  QToolButton* EditGroupsButton() const { return editGroups_; }
  SongListWidget* GroupSongList() const { return groupSongs_; }
  // The groups tab shows the row count of `GroupSongList` as "(n)".
  void SetGroupRowCount(int rows);

  SearchPage* Search() const { return search_; }
  SongListWidget* SearchHitList() const;
  BiblePage* Bible() const { return bible_; }
  VideoPage* Videos() const { return videos_; }
  FilePage* Files() const { return files_; }

  QAction* SongToolbarAction(SongToolbarCommand command) const {
    return songToolbar_[static_cast<std::size_t>(command)];
  }

 signals:
  void songToolbarCommand(SongToolbarCommand command);

 private:
  QWidget* BuildGroupsPage(AppState& state);
  QToolBar* BuildSongToolbar(AppState& state);

  QTabWidget* pages_ = nullptr;
  QComboBox* groupChooser_ = nullptr;
  QToolButton* editGroups_ = nullptr;
  SongListWidget* groupSongs_ = nullptr;
  SearchPage* search_ = nullptr;
  BiblePage* bible_ = nullptr;
  VideoPage* videos_ = nullptr;
  FilePage* files_ = nullptr;
  std::array<QAction*, 4> songToolbar_{};
};

}  // namespace psalmora
