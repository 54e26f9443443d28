// Every command loads its collection file, changes the record at the chooser's position, writes the
// whole file and refills what shows it: choosers and lists address records by position only.
#include "collections/ui/collection_controller.h"

#include <QComboBox>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <unordered_map>

#include "collections/collection_file.h"
#include "collections/ui/collection_editor.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "core/ui/user_message_box.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"

namespace psalmora {

CollectionController::CollectionController(AppState& state, SongListsHost& window, Messages& messages)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages) {
  setObjectName(QStringLiteral("collectionController"));
  connect(window_.GroupSongList(), &SongListWidget::spacePressed, this, [this] {
    window_.SetCurrentSongList(SongListId::Group);
    AddToSelection();
  });
  connect(window_.SearchHitList(), &SongListWidget::spacePressed, this, [this] {
    window_.SetCurrentSongList(SongListId::SearchHits);
    AddToSelection();
  });
  connect(window_.SelectionSongList(), &SongListWidget::spacePressed, this, &CollectionController::RemoveFromSelection);
}

CollectionController* CollectionController::Of(const QObject& window) {
  return window.findChild<CollectionController*>(QStringLiteral("collectionController"), Qt::FindDirectChildrenOnly);
}

std::vector<std::string> CollectionController::CollectedSongs() const {
  SongListWidget* list = window_.CurrentSongListWidget();
  if (!list) return {};
  std::vector<std::string> ids;
  for (const QString& id : list->SelectedIds()) ids.push_back(ToCp1252(id));
  return CollectSelectedSongIds(state_.songs, ids);
}

ChangeStamp CollectionController::Stamp() const {
  return ChangeStampNow(state_.settings.useridcb);
}

void CollectionController::ReportAlreadyPresent(const std::vector<std::string>& titles) {
  for (const std::string& title : titles) {
    ShowUserMessage(messages_, window_.HostWindow(), AlreadySelectedMessage(title, state_.language));
    if (SongListWidget* list = window_.CurrentSongListWidget()) list->setFocus();
  }
}

void CollectionController::AddToSelection() {
  const std::filesystem::path& file = state_.dataFiles.auswahl;
  std::vector<std::string> records = LoadCollectionFile(file);
  const SongListId shownPage = window_.ShownPageList();
  if (shownPage != SongListId::None) window_.SetCurrentSongList(shownPage);
  const std::vector<std::string> collected = CollectedSongs();
  const int position = window_.SelectionChooser()->currentIndex();
  if (collected.empty() || position < 0) return;
  const AddSongsResult added = AddSongsToCollection(records, static_cast<std::size_t>(position), collected, Stamp());
  ReportAlreadyPresent(added.alreadyPresentTitles);
  if (!added.changed) return;
  SaveCollectionFile(file, records);
  window_.FillSelections();
}

void CollectionController::RemoveFromSelection() {
  const std::filesystem::path& file = state_.dataFiles.auswahl;
  std::vector<std::string> records = LoadCollectionFile(file);
  window_.SetCurrentSongList(SongListId::Selection);
  const std::vector<std::string> collected = CollectedSongs();
  const int position = window_.SelectionChooser()->currentIndex();
  if (collected.empty() || position < 0) return;
  if (!RemoveSongsFromCollection(records, static_cast<std::size_t>(position), collected, Stamp())) return;
  SaveCollectionFile(file, records);
  window_.FillSelections();
}

void CollectionController::MoveInSelection(MoveDirection direction) {
  SongListWidget* list = window_.SelectionSongList();
  SongListModel& model = list->Model();
  const QStringList selectedIds = list->SelectedIds();
  const int position = window_.SelectionChooser()->currentIndex();
  if (selectedIds.isEmpty() || position < 0) return;

  const QItemSelectionModel* selection = list->selectionModel();
  std::vector<SelectionRow> rows;
  std::unordered_map<std::string, SongRow> songRows;
  for (int row = 0; row < model.RowCount(); ++row) {
    const SongRow& songRow = model.RowAt(row);
    const std::string id = ToCp1252(songRow.id);
    rows.push_back({id, std::string(), selection->isRowSelected(row, QModelIndex())});
    songRows.emplace(id, songRow);
  }
  MoveSongInSelection(rows, direction);

  // The list shows the new order at once; it is not refilled from the file.
  std::vector<SongRow> reordered;
  for (const SelectionRow& row : rows) reordered.push_back(songRows.at(row.id));
  {
    // A reorder is no new choice of song: the preview and the transposition stay as they are.
    const QSignalBlocker blocker(list->selectionModel());
    model.SetRows(std::move(reordered));
    QItemSelection chosen;
    int firstChosen = -1;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      if (!rows[static_cast<std::size_t>(row)].selected) continue;
      if (firstChosen < 0) firstChosen = row;
      chosen.select(model.index(row, 0), model.index(row, model.columnCount() - 1));
    }
    list->selectionModel()->setCurrentIndex(model.index(firstChosen, 0), QItemSelectionModel::NoUpdate);
    list->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
  }
  list->viewport()->update();
  window_.SetCurrentSongList(SongListId::Selection);

  std::vector<std::string> records = LoadCollectionFile(state_.dataFiles.auswahl);
  if (StoreSelectionOrder(records, static_cast<std::size_t>(position), rows, Stamp())) {
    SaveCollectionFile(state_.dataFiles.auswahl, records);
  }
}

void CollectionController::AddToGroup(int position) {
  const std::filesystem::path& file = state_.dataFiles.gruppierung;
  std::vector<std::string> records = LoadCollectionFile(file);
  const std::vector<std::string> collected = CollectedSongs();
  if (collected.empty() || position < 0 || position >= static_cast<int>(records.size())) return;
  const AddSongsResult added = AddSongsToCollection(records, static_cast<std::size_t>(position), collected, Stamp());
  ReportAlreadyPresent(added.alreadyPresentTitles);
  if (!added.changed) return;
  SaveCollectionFile(file, records);
  window_.RefreshMainSongList();
}

void CollectionController::RemoveFromCurrentGroup() {
  const int position = window_.GroupChooser()->currentIndex() - 1;
  if (position < 0) return;
  const std::filesystem::path& file = state_.dataFiles.gruppierung;
  std::vector<std::string> records = LoadCollectionFile(file);
  const std::vector<std::string> collected = CollectedSongs();
  if (collected.empty()) return;
  if (!RemoveSongsFromCollection(records, static_cast<std::size_t>(position), collected, Stamp())) return;
  SaveCollectionFile(file, records);
  window_.RefreshMainSongList();
}

void CollectionController::EditCollections(CollectionKind kind) {
  CollectionEditor::Run(state_, messages_, kind, window_.HostWindow());
  // Whichever way the editor closed, its changes are in the file already: choosers that kept the old
  // records would address the wrong collection by position.
  window_.RefreshMainSongList();
  window_.FillSelections();
}

}  // namespace psalmora
