// The group names are shown as stored (not translated); a TAB in the caption puts the pool id into the
// menu's right-hand column.
#include "app/song_context_menu.h"

#include <QAction>

#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {

SongContextMenu::SongContextMenu(AppState& state, QWidget* parent) : QMenu(parent) {
  setObjectName(QStringLiteral("SongContextMenu"));
  commands_.resize(6, nullptr);
  AddCommand(Tr("Neues Lied anlegen", state), SongMenuCommand::NewSong);
  AddCommand(Tr("Lied bearbeiten", state), SongMenuCommand::EditSong);
  AddCommand(Tr("Lied löschen", state), SongMenuCommand::DeleteSong);
  addSeparator();
  groups_ = addMenu(Tr("zur Gruppe hinzufügen", state));
  AddCommand(Tr("aus aktueller Gruppe entfernen", state), SongMenuCommand::RemoveFromGroup);
  addSeparator();
  AddCommand(Tr("in Datei exportieren", state), SongMenuCommand::ExportToFile);
  AddCommand(Tr("Drucken", state), SongMenuCommand::Print);
  SetRemoveFromGroupEnabled(false);
}

QAction* SongContextMenu::AddCommand(const QString& caption, SongMenuCommand command) {
  QAction* action = addAction(caption);
  connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
  commands_[static_cast<std::size_t>(command)] = action;
  return action;
}

QAction* SongContextMenu::Action(SongMenuCommand command) const {
  return commands_[static_cast<std::size_t>(command)];
}

void SongContextMenu::RebuildGroupItems(const std::vector<std::string>& groupRecords) {
  groups_->clear();
  for (std::size_t position = 0; position < groupRecords.size(); ++position) {
    const std::string& record = groupRecords[position];
    const std::string_view caption = std::string_view(record).substr(0, record.find('|'));
    // A group name is plain text: "&" must not become a keyboard mnemonic.
    QAction* item = groups_->addAction(FromCp1252(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    const int index = static_cast<int>(position);
    connect(item, &QAction::triggered, this, [this, index] { emit addToGroupTriggered(index); });
  }
  groups_->setEnabled(!groupRecords.empty());
}

void SongContextMenu::SetRemoveFromGroupEnabled(bool enabled) {
  Action(SongMenuCommand::RemoveFromGroup)->setEnabled(enabled);
}

}  // namespace psalmora
