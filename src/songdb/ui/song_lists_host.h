// `SongListsHost`: what the controllers of the song lists, selections, trash, editor and preview may
// ask of the window that shows the three song lists. The application shell implements it, so the
// rooms' controllers work on this small face and never include the shell.
#pragma once

#include <string_view>

class QComboBox;
class QString;
class QWidget;

namespace psalmora {

class SearchPage;
class SongListWidget;

// Which song list the song commands work on: the one used last.
enum class SongListId { None, Group, Selection, SearchHits };

class SongListsHost {
 public:
  virtual ~SongListsHost() = default;

  // The main window: parent of dialogs, disabled while work runs, activated again afterwards.
  virtual QWidget* HostWindow() = 0;

  virtual SongListWidget* GroupSongList() const = 0;
  virtual SongListWidget* SelectionSongList() const = 0;
  virtual SongListWidget* SearchHitList() const = 0;
  virtual QComboBox* GroupChooser() const = 0;
  virtual QComboBox* SelectionChooser() const = 0;
  virtual SearchPage* Search() const = 0;

  virtual SongListId CurrentSongList() const = 0;
  // The widget of `CurrentSongList` (nullptr while none, e.g. during a new song).
  virtual SongListWidget* CurrentSongListWidget() const = 0;
  virtual void SetCurrentSongList(SongListId list) = 0;
  // The list of the left page shown now (`GroupSongList` or `SearchHitList`), None on the other pages.
  virtual SongListId ShownPageList() const = 0;

  // `RefreshMainSongList`: the group chooser and `GroupSongList` from the group file and the store.
  virtual void RefreshMainSongList() = 0;
  // The selection chooser and `SelectionSongList` from the selection file.
  virtual void FillSelections() = 0;
  // Title change ("record") or removal ("kill") of one song in every song list.
  virtual void RefreshSongRows(std::string_view id, std::string_view record) = 0;
  // Shows the groups tab's "(n)".
  virtual void SetGroupRowCount(int rows) = 0;
  // Asks for the preview of `CurrentSongList` again.
  virtual void RequestPreview() = 0;

  // Long work: the status bar's progress bar and small text; EndProgress puts the bar back as it was.
  virtual void ShowProgress(int percent, const QString& text) = 0;
  virtual void EndProgress() = 0;
};

}  // namespace psalmora
