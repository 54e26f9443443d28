// `SongContextMenu`: the pop-up menu of the three song lists, with the submenu "zur Gruppe hinzufügen"
// that lists the groups of the group file and is rebuilt whenever the groups change.
#pragma once

#include <QMenu>
#include <string>
#include <vector>

class QAction;

namespace psalmora {

struct AppState;

enum class SongMenuCommand { NewSong, EditSong, DeleteSong, RemoveFromGroup, ExportToFile, Print };

class SongContextMenu : public QMenu {
  Q_OBJECT

 public:
  SongContextMenu(AppState& state, QWidget* parent = nullptr);

  // One submenu item per group record, in file order, captioned with the record's text before its
  // first "|" (the name, a TAB and the pool id); the item's position identifies the group.
  void RebuildGroupItems(const std::vector<std::string>& groupRecords);

  QAction* Action(SongMenuCommand command) const;
  QMenu* GroupSubmenu() const { return groups_; }
  // "aus aktueller Gruppe entfernen" is usable only for the group list showing a group.
  void SetRemoveFromGroupEnabled(bool enabled);

 signals:
  void commandTriggered(SongMenuCommand command);
  // position: 0-based place of the group in the group file.
  void addToGroupTriggered(int position);

 private:
  QAction* AddCommand(const QString& caption, SongMenuCommand command);

  QMenu* groups_ = nullptr;
  std::vector<QAction*> commands_;
};

}  // namespace psalmora
