// The whole-database fill reads the group records once per fill, not once per row as asking each song
// separately would, and hands the rows to the model in one reset.
#include "songdb/ui/song_rows.h"

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "core/record_fields.h"
#include "core/ui/ui_text.h"
#include "songdb/song_store.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {

std::unordered_set<std::string> SharedGroupSongIds(const std::vector<std::string>& groupRecords) {
  std::unordered_set<std::string> ids;
  for (const std::string& record : groupRecords) {
    const std::string_view allIds = RecordField(record, 2);
    if (LeadingNumber(PartAt(allIds, 1)) <= 0) continue;
    // Every piece after the pool id, empty ones included: exactly what a "|id|" search of the field
    // followed by "|" finds.
    const std::vector<std::string> parts = SplitAt(allIds, '|');
    for (std::size_t i = 1; i < parts.size(); ++i) ids.insert(parts[i]);
  }
  return ids;
}

int ShowWholeDatabase(SongListWidget& list, const std::vector<std::string>& songList,
                      const std::vector<std::string>& groupRecords) {
  const std::unordered_set<std::string> shared = SharedGroupSongIds(groupRecords);
  std::vector<SongRow> rows;
  rows.reserve(songList.size());
  for (const std::string& record : songList) {
    SongRow row;
    const bool isShared = !shared.empty() && shared.count(std::string(RecordField(record, 1))) > 0;
    if (SongRowFromRecord(record, isShared, row)) rows.push_back(std::move(row));
  }
  const int count = static_cast<int>(rows.size());
  list.Model().SetRows(std::move(rows));
  return count;
}

int ShowCollectionSongs(SongListWidget& list, std::string_view collectionRecord, const SongStore& store,
                        const std::unordered_set<std::string>& sharedIds) {
  std::vector<SongRow> rows;
  for (const std::string& id : ActiveCollectionSongIds(store, collectionRecord)) {
    SongRow row;
    if (SongRowFromRecord(store.FindSongRecord(id), sharedIds.count(id) > 0, row)) rows.push_back(std::move(row));
  }
  const int count = static_cast<int>(rows.size());
  list.Model().SetRows(std::move(rows));
  return count;
}

QString CollectionChooserEntry(std::string_view collectionRecord) {
  return FromCp1252(CollectionName(collectionRecord)) + QStringLiteral(" (") +
         QString::number(CollectionEntryCount(collectionRecord)) + QStringLiteral(")");
}

void RefreshSongRows(std::initializer_list<SongListWidget*> lists, std::string_view id, std::string_view record) {
  const QString rowId = FromCp1252(id);
  const bool kill = record == "kill";
  const QString title = kill ? QString() : FromCp1252(RecordField(record, 3));
  for (SongListWidget* list : lists) {
    if (list == nullptr) continue;
    SongListModel& model = list->Model();
    for (int row = model.RowCount() - 1; row >= 0; --row) {
      if (model.RowAt(row).id != rowId) continue;
      if (kill) {
        model.RemoveRowAt(row);
      } else {
        model.SetTitleAt(row, title);
      }
    }
  }
}

}  // namespace psalmora
