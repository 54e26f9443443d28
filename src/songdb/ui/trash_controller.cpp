// Deleting runs on the interface thread with the status bar's progress bar and text showing each song
// done; pending paint events run between the songs so the progress is seen.
#include "songdb/ui/trash_controller.h"

#include <QApplication>
#include <QComboBox>

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "core/ui/user_message_box.h"
#include "songdb/trash.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"
#include "songdb/ui/song_rows.h"
#include "songdb/ui/trash_window.h"

namespace psalmora {

TrashController::TrashController(AppState& state, SongListsHost& window, Messages& messages)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages) {
  setObjectName(QStringLiteral("trashController"));
}

TrashController* TrashController::Of(const QObject& window) {
  return window.findChild<TrashController*>(QStringLiteral("trashController"), Qt::FindDirectChildrenOnly);
}

void TrashController::ShowProgress(int percent, const QString& text) {
  window_.ShowProgress(percent, text);
  emit deleteProgress(percent, text);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TrashController::DeleteChosenSongs() {
  SongListWidget* list = window_.CurrentSongListWidget();
  if (!list || list->SelectedIds().isEmpty()) return 0;
  if (!messages_.AskYesNo(window_.HostWindow(), Tr("Lied löschen", state_), Tr("Lied wirklich löschen?", state_)))
    return 0;

  SongListWidget* groupList = window_.GroupSongList();
  groupList->setUpdatesEnabled(false);
  std::vector<std::string> ids;
  for (const QString& id : list->SelectedIds()) ids.push_back(ToCp1252(id));
  const std::vector<std::string> collected = CollectSelectedSongIds(state_.songs, ids);

  TrashContext context{state_.songs,
                       {state_.settings, state_.programFolder / kSettingsFileName},
                       ChangeStampNow(state_.settings.useridcb)};
  const DeleteSongsResult result = DeleteSongs(context, collected, [this](const DeleteProgress& progress) {
    ShowProgress(progress.percent, QString::fromStdString(progress.text));
  });
  for (const std::string& id : result.deletedIds) window_.RefreshSongRows(id, "kill");
  window_.EndProgress();

  RefreshCounts();
  groupList->setUpdatesEnabled(true);
  // The preview follows what the list chooses now, so a deleted song does not stay on show.
  if (!result.deletedIds.empty()) window_.RequestPreview();
  ShowUserMessage(messages_, window_.HostWindow(),
                  result.saved ? SongsDeletedMessage(state_.language)
                               : SongListNotSavedMessage(state_.language, state_.songs.Files().lieder));
  return static_cast<int>(result.deletedIds.size());
}

void TrashController::RefreshCounts() {
  const std::vector<std::string> groups = LoadCollectionFile(state_.dataFiles.gruppierung);
  QComboBox* groupChooser = window_.GroupChooser();
  for (std::size_t i = 0; i < groups.size() && static_cast<int>(i) + 1 < groupChooser->count(); ++i) {
    groupChooser->setItemText(static_cast<int>(i) + 1, CollectionChooserEntry(groups[i]));
  }
  const std::vector<std::string> selections = LoadCollectionFile(state_.dataFiles.auswahl);
  QComboBox* selectionChooser = window_.SelectionChooser();
  for (std::size_t i = 0; i < selections.size() && static_cast<int>(i) < selectionChooser->count(); ++i) {
    selectionChooser->setItemText(static_cast<int>(i), CollectionChooserEntry(selections[i]));
  }
  window_.SetGroupRowCount(window_.GroupSongList()->RowCount());
}

void TrashController::OpenTrash() {
  TrashWindow trash(state_, messages_, window_.HostWindow());
  connect(&trash, &TrashWindow::songsRestored, this, &TrashController::AddRestoredRows);
  trash.exec();
  window_.HostWindow()->activateWindow();
}

void TrashController::AddRestoredRows(const std::vector<TrashEntry>& restored) {
  // A restored song belongs to no group: only the whole database shows it.
  if (window_.GroupChooser()->currentIndex() > 0) return;
  SongListWidget* list = window_.GroupSongList();
  for (const TrashEntry& entry : restored) {
    SongRow row;
    if (SongRowFromRecord(state_.songs.FindSongRecord(entry.id), false, row)) list->Model().InsertRowAtTop(row);
  }
  window_.SetGroupRowCount(list->RowCount());
}

}  // namespace psalmora
