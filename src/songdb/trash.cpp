#include "songdb/trash.h"

#include <algorithm>
#include <array>
#include <optional>

#include "collections/collection_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

// Fields of a record in the trash, shifted by the marker in front.
constexpr int kDeletedIdField = song_field::kId + 1;
constexpr int kDeletedTitleField = song_field::kTitle + 1;
constexpr int kDeletedGlobalIdField = song_field::kGlobalId + 1;

// The selections and groups of one run of deletions: each file is read once, loses every deleted song
// in memory, and is written once at the end, only when it changed, so a missing file is not created
// and an untouched one keeps its bytes.
class CollectionCleanup {
 public:
  explicit CollectionCleanup(const DataFiles& files) {
    files_[0].path = files.auswahl;
    files_[1].path = files.gruppierung;
  }

  void RemoveSong(const std::string& id, const ChangeStamp& stamp) {
    const std::string needle = "|" + id + "|";
    const std::vector<std::string> collected{id};
    for (File& file : files_) {
      if (!file.loaded) {
        file.records = LoadCollectionFile(file.path);
        file.loaded = true;
      }
      for (std::size_t position = 0; position < file.records.size(); ++position) {
        const std::string ids = std::string(RecordField(file.records[position], collection_field::kSongIds)) + "|";
        if (ids.find(needle) == std::string::npos) continue;
        RemoveSongsFromCollection(file.records, position, collected, stamp);
        file.changed = true;
      }
    }
  }

  void Save() {
    for (File& file : files_) {
      if (file.changed) SaveCollectionFile(file.path, file.records);
      file.changed = false;
    }
  }

 private:
  struct File {
    std::filesystem::path path;
    std::vector<std::string> records;
    bool loaded = false;
    bool changed = false;
  };
  std::array<File, 2> files_;
};

// DeleteSong on a clean-up shared by the whole run.
std::vector<std::string> MarkSongsDeleted(TrashContext& context, std::string_view key, SongKey keyKind,
                                          CollectionCleanup& collections) {
  std::vector<std::string> deleted;
  // An empty global id would otherwise match every song that was never shared.
  if (key.empty()) return deleted;
  const int keyField = keyKind == SongKey::LocalId ? song_field::kId : song_field::kGlobalId;
  SongStore& store = context.store;
  for (std::size_t position = 0; position < store.SongList().size(); ++position) {
    const std::string record = store.SongList()[position];
    if (IsDeletedRecord(record) || RecordField(record, keyField) != key) continue;
    const std::string id(RecordField(record, song_field::kId));
    const std::string globalId(RecordField(record, song_field::kGlobalId));
    store.SetSongAt(position, std::string(kDeletedMarker) + "\t" + record);
    deleted.push_back(id);
    collections.RemoveSong(id, context.stamp);
    if (keyKind == SongKey::LocalId && !globalId.empty()) RememberDeletedSong(context.settings, globalId);
  }
  return deleted;
}

std::string RestoredRecord(std::string_view deletedRecord) {
  std::vector<std::string> fields = SplitAt(deletedRecord, '\t');
  // A restored song is a local song again: the service's id of it is dropped.
  if (fields.size() >= static_cast<std::size_t>(kDeletedGlobalIdField)) fields[kDeletedGlobalIdField - 1].clear();
  fields.erase(fields.begin());  // the trash marker
  return JoinAt(fields, '\t');
}

}  // namespace

std::vector<std::string> DeleteSong(TrashContext& context, std::string_view key, SongKey keyKind) {
  CollectionCleanup collections(context.store.Files());
  std::vector<std::string> deleted = MarkSongsDeleted(context, key, keyKind, collections);
  collections.Save();
  return deleted;
}

DeleteSongsResult DeleteSongs(TrashContext& context, const std::vector<std::string>& collected,
                              const DeleteProgressFunction& progress) {
  DeleteSongsResult result;
  const int total = static_cast<int>(collected.size());
  if (total == 0) return result;
  const int step = 100 / total;
  const auto report = [&](int done, int percent) {
    if (progress) progress({done, total, percent, std::to_string(done) + "/" + std::to_string(total)});
  };
  report(0, 1);
  CollectionCleanup collections(context.store.Files());
  int done = 0;
  for (const std::string& song : collected) {
    for (std::string& id : MarkSongsDeleted(context, RecordField(song, song_field::kId), SongKey::LocalId, collections)) {
      result.deletedIds.push_back(std::move(id));
    }
    ++done;
    report(done, step * done);
  }
  collections.Save();
  result.saved = context.store.SaveSongList();
  return result;
}

bool IsActiveSong(const SongStore& store, std::string_view id) {
  const std::optional<std::size_t> position = store.FindSongPosition(id);
  return position && !IsDeletedRecord(store.SongList()[*position]);
}

bool IsInTrash(const SongStore& store, std::string_view id) {
  return std::any_of(store.SongList().begin(), store.SongList().end(), [id](const std::string& record) {
    return IsDeletedRecord(record) && RecordField(record, kDeletedIdField) == id;
  });
}

std::vector<TrashEntry> TrashEntries(const SongStore& store) {
  std::vector<TrashEntry> entries;
  for (const std::string& record : store.SongList()) {
    if (IsDeletedRecord(record)) {
      entries.push_back(
          {std::string(RecordField(record, kDeletedIdField)), std::string(RecordField(record, kDeletedTitleField))});
    }
  }
  return entries;
}

RestoreResult RestoreSongs(SongStore& store, const std::vector<std::string>& ids) {
  RestoreResult result;
  std::vector<TrashEntry>& restored = result.restored;
  for (const std::string& id : ids) {
    for (std::size_t position = 0; position < store.SongList().size(); ++position) {
      const std::string& record = store.SongList()[position];
      if (!IsDeletedRecord(record) || RecordField(record, kDeletedIdField) != id) continue;
      std::string line = RestoredRecord(record);
      restored.push_back({id, std::string(RecordField(line, song_field::kTitle))});
      store.SetSongAt(position, std::move(line));
    }
  }
  if (!restored.empty()) result.saved = store.SaveSongList();
  return result;
}

PurgeResult EmptyTrash(SongStore& store) {
  PurgeResult result;
  for (std::size_t position = store.SongList().size(); position-- > 0;) {
    const std::string& record = store.SongList()[position];
    if (!IsDeletedRecord(record)) continue;
    result.purgedIds.emplace_back(RecordField(record, kDeletedIdField));
    store.EraseSongAt(position);
  }
  std::reverse(result.purgedIds.begin(), result.purgedIds.end());
  // The texts go only once the list without their records is on disk: otherwise the next start would
  // list songs in the trash whose texts are lost.
  result.saved = store.SaveSongList();
  if (!result.saved) return result;
  for (const std::string& id : result.purgedIds) {
    // A text file still named by an active song belongs to that song.
    if (store.FindSongPosition(id)) continue;
    if (!store.RemoveSongText(id)) result.keptTextIds.push_back(id);
  }
  return result;
}

UserMessage SongsDeletedMessage(LanguageTable& language) {
  return {language.Translate("Lied l\xF6schen"), language.Translate("Lied in Papierkorb verschoben"),
          UserMessage::Icon::Information};
}

UserMessage NothingChosenMessage(LanguageTable& language) {
  return {language.Translate("Daten Wiederherstellen"), language.Translate("Keine Auswahl getroffen!"),
          UserMessage::Icon::Information};
}

UserMessage RestoredMessage(LanguageTable& language) {
  return {language.Translate("Daten Wiederherstellen"), language.Translate("erfolgreich wiederhergestellt"),
          UserMessage::Icon::Information};
}

UserMessage TrashEmptiedMessage(LanguageTable& language) {
  return {language.Translate("Papierkorb leeren"), language.Translate("Papierkorb erfolgreich geleert!"),
          UserMessage::Icon::Information};
}

UserMessage SongListNotSavedMessage(LanguageTable& language, const std::filesystem::path& songListFile) {
  return {language.Translate("Error"),
          language.Translate("Die Liederdatei konnte nicht gespeichert werden!") + "\r" + songListFile.string(),
          UserMessage::Icon::Error};
}

}  // namespace psalmora
