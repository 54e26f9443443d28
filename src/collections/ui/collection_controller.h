// The main window's work on selections and groups: the song toolbar (add, move up/down, remove), the
// Space keys of the song lists, the group items of `SongContextMenu`, and the two editor buttons.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "collections/collections.h"

namespace psalmora {

struct AppState;
class SongListsHost;
class Messages;

class CollectionController : public QObject {
  Q_OBJECT

 public:
  // A child of the window; it takes the Space keys of the song lists itself, and the shell sends it
  // the song toolbar, the group items of the song context menu and the two editor buttons.
  CollectionController(AppState& state, SongListsHost& window, Messages& messages);

  // The controller of a window, if one was made for it.
  static CollectionController* Of(const QObject& window);

  // "Lied in Auswahl" (and Space in `GroupSongList` / `SearchHitList`): the selected songs of the list
  // of the shown page go to the selection of `SelectionChooser`; songs it has are named in a message.
  void AddToSelection();
  // "Lied aus Auswahl entfernen" (and Space in `SelectionSongList`).
  void RemoveFromSelection();
  // "Lied hochschieben" / "Lied runterschieben": the selected rows of `SelectionSongList` as a block.
  void MoveInSelection(MoveDirection direction);
  // An item of "zur Gruppe hinzufügen": position is the group's place in the group file.
  void AddToGroup(int position);
  // "aus aktueller Gruppe entfernen": the group `GroupChooser` shows (nothing at the whole database).
  void RemoveFromCurrentGroup();
  // "Auswahlliste bearbeiten" / "Gruppierung bearbeiten": the editor, then both choosers refilled.
  void EditCollections(CollectionKind kind);

 private:
  // The store lines of the selected rows of `CurrentSongList`.
  std::vector<std::string> CollectedSongs() const;
  ChangeStamp Stamp() const;
  void ReportAlreadyPresent(const std::vector<std::string>& titles);

  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
};

}  // namespace psalmora
