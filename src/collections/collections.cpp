#include "collections/collections.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "collections/collection_file.h"
#include "collections/pending_deletions.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/trash.h"

namespace psalmora {
namespace {

// Song ids end up between "|" in a record line: one holding a separator would corrupt it.
bool UsableId(std::string_view id) {
  return !id.empty() && id.find_first_of("|\t\r\n") == std::string_view::npos;
}

// Typed names and pool ids go into one field of a "|"-listed record line.
std::string FieldText(std::string_view typed) {
  std::string text(typed);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '|'; }, ' ');
  return text;
}

// A pool id names a file in "datenpool"; anything that could leave that folder names none.
bool UsablePoolFileName(std::string_view poolId) {
  return !poolId.empty() && poolId != "." && poolId != ".." &&
         poolId.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// Every schema field followed by a TAB, then the fields after the schema's; the change fields from stamp.
std::string RebuildWith(std::string_view record, int replacedField, std::string_view replacement,
                        const ChangeStamp& stamp) {
  std::string rebuilt;
  for (int field = 1; field <= collection_field::kCount; ++field) {
    if (field == replacedField) {
      rebuilt += replacement;
    } else if (field == collection_field::kChangedAt) {
      rebuilt += std::to_string(stamp.time);
    } else if (field == collection_field::kChangedBy) {
      rebuilt += stamp.userId;
    } else {
      rebuilt += RecordField(record, field);
    }
    rebuilt += '\t';
  }
  // Fields a later version or the online services added stay as they were. A record that ends with a
  // TAB has no field after it.
  std::vector<std::string> fields = SplitAt(record, '\t');
  if (record.ends_with('\t')) fields.pop_back();
  for (std::size_t field = collection_field::kCount; field < fields.size(); ++field) {
    rebuilt += fields[field];
    rebuilt += '\t';
  }
  return rebuilt;
}

}  // namespace

const std::filesystem::path& CollectionFilePath(const DataFiles& files, CollectionKind kind) {
  return kind == CollectionKind::Selection ? files.auswahl : files.gruppierung;
}

ChangeStamp ChangeStampNow(std::string_view userId) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return {std::chrono::duration_cast<std::chrono::seconds>(now).count(), std::string(userId)};
}

std::string RebuildCollectionRecord(std::string_view record, std::string_view songIds, const ChangeStamp& stamp) {
  return RebuildWith(record, collection_field::kSongIds, songIds, stamp);
}

std::vector<std::string> CollectSelectedSongIds(const SongStore& store, const std::vector<std::string>& rowIds) {
  std::vector<std::string> collected;
  collected.reserve(rowIds.size());
  for (const std::string& id : rowIds) collected.push_back(store.FindSongRecord(id));
  return collected;
}

AddSongsResult AddSongsToCollection(std::vector<std::string>& records, std::size_t position,
                                    const std::vector<std::string>& collected, const ChangeStamp& stamp) {
  AddSongsResult result;
  if (position >= records.size()) return result;
  std::string& record = records[position];
  std::string ids = std::string(RecordField(record, collection_field::kSongIds)) + "|";
  for (const std::string& song : collected) {
    const std::string_view id = RecordField(song, song_field::kId);
    if (!UsableId(id)) continue;
    if (ids.find("|" + std::string(id) + "|") != std::string::npos) {
      result.alreadyPresentTitles.emplace_back(RecordField(song, song_field::kTitle));
    } else {
      ids.append(id).append("|");
    }
  }
  ids.pop_back();
  record = RebuildCollectionRecord(record, ids, stamp);
  result.changed = true;
  return result;
}

UserMessage AlreadySelectedMessage(std::string_view title, LanguageTable& language) {
  return {language.Translate("Meldung"),
          "'" + std::string(title) + "' " + language.Translate("wurde schon ausgew\xE4hlt"),
          UserMessage::Icon::Information};
}

bool RemoveSongsFromCollection(std::vector<std::string>& records, std::size_t position,
                               const std::vector<std::string>& collected, const ChangeStamp& stamp) {
  if (position >= records.size()) return false;
  std::string& record = records[position];
  std::string ids = std::string(RecordField(record, collection_field::kSongIds)) + "|";
  for (const std::string& song : collected) {
    const std::string_view id = RecordField(song, song_field::kId);
    if (!UsableId(id)) continue;
    const std::string needle = "|" + std::string(id) + "|";
    // Searching again from the replacement also catches a repeat right behind it ("|5|5|").
    for (std::size_t at = ids.find(needle); at != std::string::npos; at = ids.find(needle, at)) {
      ids.replace(at, needle.size(), "|");
    }
  }
  ids.pop_back();
  record = RebuildCollectionRecord(record, ids, stamp);
  return true;
}

std::vector<std::string> ActiveCollectionSongIds(const SongStore& store, std::string_view record) {
  std::vector<std::string> ids = CollectionSongIds(record);
  std::erase_if(ids, [&store](const std::string& id) { return !IsActiveSong(store, id); });
  return ids;
}

std::vector<SelectionRow> CollectionRows(const SongStore& store, std::string_view record) {
  std::vector<SelectionRow> rows;
  for (std::string& id : ActiveCollectionSongIds(store, record)) {
    std::string title(RecordField(store.FindSongRecord(id), song_field::kTitle));
    rows.push_back({std::move(id), std::move(title), false});
  }
  return rows;
}

void MoveSongInSelection(std::vector<SelectionRow>& rows, MoveDirection direction) {
  const std::size_t count = rows.size();
  // A row only trades places with an unselected neighbour, so a block that reached the end stays whole.
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t i = direction == MoveDirection::Up ? step : count - 1 - step;
    const bool atEnd = direction == MoveDirection::Up ? i == 0 : i + 1 == count;
    if (!rows[i].selected || atEnd) continue;
    const std::size_t neighbour = direction == MoveDirection::Up ? i - 1 : i + 1;
    if (!rows[neighbour].selected) std::swap(rows[i], rows[neighbour]);
  }
}

bool StoreSelectionOrder(std::vector<std::string>& records, std::size_t position, const std::vector<SelectionRow>& rows,
                         const ChangeStamp& stamp) {
  if (position >= records.size()) return false;
  const std::string_view oldIds = RecordField(records[position], collection_field::kSongIds);
  const std::size_t bar = oldIds.find('|');
  std::string ids(oldIds.substr(0, bar));
  // The listed ids, before the first empty one, take the places of the rows in their new order; an id
  // that is no row (a song in the trash or gone) stays where it was.
  std::multiset<std::string_view> shown;
  for (const SelectionRow& row : rows) shown.insert(row.id);
  std::size_t nextRow = 0;
  std::string_view rest = bar == std::string_view::npos ? std::string_view() : oldIds.substr(bar + 1);
  while (!rest.empty()) {
    const std::size_t end = rest.find('|');
    const std::string_view id = rest.substr(0, end);
    if (id.empty()) break;
    const auto row = shown.find(id);
    if (row == shown.end()) {
      ids.append("|").append(id);
    } else {
      shown.erase(row);
      ids.append("|").append(rows[nextRow++].id);
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  while (nextRow < rows.size()) ids.append("|").append(rows[nextRow++].id);
  // The list stops at the first empty id; what follows it was never shown and must not be lost.
  if (bar != std::string_view::npos) {
    const std::string_view listed = oldIds.substr(bar);
    const std::size_t gap = listed.find("||");
    if (gap != std::string_view::npos) ids.append(listed.substr(gap));
  }
  records[position] = RebuildCollectionRecord(records[position], ids, stamp);
  return true;
}

std::vector<CollectionEditorRow> CollectionEditorRows(const std::vector<std::string>& records) {
  std::vector<CollectionEditorRow> rows;
  rows.reserve(records.size());
  for (const std::string& record : records) {
    rows.push_back(
        {std::string(CollectionName(record)), CollectionEntryCount(record), std::string(CollectionPoolId(record))});
  }
  return rows;
}

void NewCollection(std::vector<std::string>& records, CollectionKind kind, const ChangeStamp& stamp) {
  std::string record(kNewCollectionName);
  if (kind == CollectionKind::Selection) {
    record += "\t\t\t\t" + std::to_string(stamp.time) + "\t" + stamp.userId;
  } else {
    record += "\t";
  }
  records.insert(records.begin(), std::move(record));
}

DeleteCollectionResult DeleteCollection(std::vector<std::string>& records, std::size_t position, CollectionKind kind,
                                        const DataFiles& files, const SettingsFileRef& settings) {
  DeleteCollectionResult result;
  if (position >= records.size()) return result;
  const std::string record = records[position];
  const std::string_view poolId = CollectionPoolId(record);
  if (UsablePoolFileName(poolId)) {
    std::error_code error;
    result.poolFileRemoved =
        std::filesystem::remove(files.folder / "datenpool" / (std::string(poolId) + ".dat"), error);
  }
  records.erase(records.begin() + static_cast<std::ptrdiff_t>(position));
  result.deleted = true;
  const std::string_view globalId = RecordField(record, collection_field::kGlobalId);
  if (kind == CollectionKind::Selection && !globalId.empty()) {
    RememberDeletedSelection(settings, globalId);
    result.globalIdRemembered = true;
  }
  return result;
}

RenameResult RenameCollection(std::vector<std::string>& records, std::size_t position, CollectionKind kind,
                              std::string_view newName, std::string_view newPoolId, const ChangeStamp& stamp) {
  RenameResult result;
  if (position >= records.size()) return result;
  const std::string name = FieldText(newName);
  std::string poolId = FieldText(newPoolId);
  const std::string_view oldPoolId = CollectionPoolId(records[position]);
  if (kind == CollectionKind::Group && !poolId.empty() && poolId != oldPoolId) {
    for (const std::string& other : records) {
      if (CollectionPoolId(other) != poolId) continue;
      result.poolIdTakenBy = std::string(CollectionName(other));
      // The refused id is not replaced by nothing: the group keeps the pool id it had.
      poolId = std::string(oldPoolId);
      break;
    }
  }
  if (name.empty()) return result;

  std::string& record = records[position];
  if (kind == CollectionKind::Selection) {
    record = RebuildWith(record, collection_field::kName, name, stamp);
  } else {
    std::vector<std::string> fields = SplitAt(record, '\t');
    if (fields.size() < 2) fields.resize(2);
    const std::size_t bar = fields[1].find('|');
    fields[0] = name;
    fields[1] = poolId + (bar == std::string::npos ? std::string() : fields[1].substr(bar));
    record = JoinAt(fields, '\t');
  }
  result.saved = true;
  return result;
}

UserMessage PoolIdTakenMessage(std::string_view groupName, CollectionKind kind, LanguageTable& language) {
  return {CollectionEditorTitle(kind, language),
          language.Translate("Pool ID bereits f\xFCr Gruppe") + " " + std::string(groupName) + " " +
              language.Translate("vergeben") + "!",
          UserMessage::Icon::Warning};
}

std::string CollectionEditorTitle(CollectionKind kind, LanguageTable& language) {
  return kind == CollectionKind::Selection ? language.Translate("Auswahl bearbeiten")
                                           : language.Translate("Gruppierung bearbeiten");
}

}  // namespace psalmora
