#include "songdb/trash.h"

#include <algorithm>
#include <optional>
#include <set>

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

// Takes the deleted ids out of the song-id field of a collection record in one pass; false, and the
// record untouched, when it held none of them.
bool RemoveIdsFromRecord(std::string& record, const std::set<std::string, std::less<>>& ids, const ChangeStamp& stamp) {
  const std::vector<std::string> parts = SplitAt(RecordField(record, collection_field::kSongIds), '|');
  // The first part is a group's pool id, never a song.
  std::string kept = parts.front();
  bool removed = false;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (ids.count(parts[i]) > 0) {
      removed = true;
    } else {
      kept.append("|").append(parts[i]);
    }
  }
  if (removed) record = RebuildCollectionRecord(record, kept, stamp);
  return removed;
}

// What one run of deletions did in memory and still has to write: the songs leave the selections and
// groups, and shared songs are remembered for the synchronisation, only once "lieder.dat" holds the
// deletion; a failed save then leaves every other file as it was.
struct Deletion {
  std::vector<std::string> ids;
  std::vector<std::string> globalIds;
};

// Each collection file is read once, loses every deleted song, and is written only when it changed, so
// a missing file is not created and an untouched one keeps its bytes. A file that cannot be read is
// left alone and named in the result.
std::vector<std::filesystem::path> RemoveFromCollections(const DataFiles& files, const std::vector<std::string>& ids,
                                                         const ChangeStamp& stamp) {
  std::vector<std::filesystem::path> notUpdated;
  const std::set<std::string, std::less<>> deleted(ids.begin(), ids.end());
  for (const std::filesystem::path& file : {files.auswahl, files.gruppierung}) {
    CollectionFileContent content = ReadCollectionFile(file);
    if (content.unreadable) {
      notUpdated.push_back(file);
      continue;
    }
    bool changed = false;
    for (std::string& record : content.records) changed = RemoveIdsFromRecord(record, deleted, stamp) || changed;
    if (changed && !SaveCollectionFile(file, content.records)) notUpdated.push_back(file);
  }
  return notUpdated;
}

// DeleteSong on the song list in memory, gathering what the commit writes.
void MarkSongDeleted(SongStore& store, std::size_t position, SongKey keyKind, Deletion& deletion) {
  const std::string record = store.SongList()[position];
  const std::string_view globalId = RecordField(record, song_field::kGlobalId);
  deletion.ids.emplace_back(RecordField(record, song_field::kId));
  if (keyKind == SongKey::LocalId && !globalId.empty()) deletion.globalIds.emplace_back(globalId);
  store.SetSongAt(position, std::string(kDeletedMarker) + "\t" + record);
}

void MarkSongsDeleted(SongStore& store, std::string_view key, SongKey keyKind, Deletion& deletion) {
  // An empty global id would otherwise match every song that was never shared.
  if (key.empty()) return;
  if (keyKind == SongKey::LocalId) {
    // Each marked record leaves the index of active songs, so the next lookup finds the next one.
    while (const std::optional<std::size_t> position = store.FindSongPosition(key)) {
      MarkSongDeleted(store, *position, keyKind, deletion);
    }
    return;
  }
  for (std::size_t position = 0; position < store.SongList().size(); ++position) {
    const std::string& record = store.SongList()[position];
    if (!IsDeletedRecord(record) && RecordField(record, song_field::kGlobalId) == key) {
      MarkSongDeleted(store, position, keyKind, deletion);
    }
  }
}

// Saves the song list first; only a deletion that is on disk reaches the collections and the settings.
DeleteSongsResult CommitDeletion(TrashContext& context, Deletion& deletion) {
  DeleteSongsResult result;
  // A list that could not be read again shows nothing to delete; that is a failure, not "done".
  if (context.store.SongListUnreadable()) {
    result.saved = false;
    return result;
  }
  if (deletion.ids.empty()) return result;
  result.saved = context.store.SaveSongList();
  if (!result.saved) return result;
  result.collectionsNotUpdated = RemoveFromCollections(context.store.Files(), deletion.ids, context.stamp);
  for (const std::string& globalId : deletion.globalIds) RememberDeletedSong(context.settings, globalId);
  result.deletedIds = std::move(deletion.ids);
  return result;
}

std::string RestoredRecord(std::string_view deletedRecord) {
  std::vector<std::string> fields = SplitAt(deletedRecord, '\t');
  // A restored song is a local song again: the service's id of it is dropped.
  if (fields.size() >= static_cast<std::size_t>(kDeletedGlobalIdField)) fields[kDeletedGlobalIdField - 1].clear();
  fields.erase(fields.begin());  // the trash marker
  return JoinAt(fields, '\t');
}

}  // namespace

DeleteSongsResult DeleteSong(TrashContext& context, std::string_view key, SongKey keyKind) {
  context.store.ReloadIfChanged();
  Deletion deletion;
  MarkSongsDeleted(context.store, key, keyKind, deletion);
  return CommitDeletion(context, deletion);
}

DeleteSongsResult DeleteSongs(TrashContext& context, const std::vector<std::string>& collected,
                              const DeleteProgressFunction& progress) {
  const int total = static_cast<int>(collected.size());
  if (total == 0) return {};
  const int step = 100 / total;
  const auto report = [&](int done, int percent) {
    if (progress) progress({done, total, percent, std::to_string(done) + "/" + std::to_string(total)});
  };
  context.store.ReloadIfChanged();
  report(0, 1);
  Deletion deletion;
  int done = 0;
  for (const std::string& song : collected) {
    MarkSongsDeleted(context.store, RecordField(song, song_field::kId), SongKey::LocalId, deletion);
    ++done;
    report(done, step * done);
  }
  return CommitDeletion(context, deletion);
}

bool IsActiveSong(const SongStore& store, std::string_view id) {
  return store.FindSongPosition(id).has_value();
}

bool IsInTrash(const SongStore& store, std::string_view id) {
  return store.FindTrashPosition(id).has_value();
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
  store.ReloadIfChanged();
  if (store.SongListUnreadable()) {
    result.saved = false;
    return result;
  }
  std::vector<TrashEntry>& restored = result.restored;
  for (const std::string& id : ids) {
    // Each restored record leaves the index of the trash, so the next lookup finds the next one.
    while (const std::optional<std::size_t> position = store.FindTrashPosition(id)) {
      std::string line = RestoredRecord(store.SongList()[*position]);
      restored.push_back({id, std::string(RecordField(line, song_field::kTitle))});
      store.SetSongAt(*position, std::move(line));
    }
  }
  if (!restored.empty()) result.saved = store.SaveSongList();
  // The list in memory is what the disk holds again: nothing was restored.
  if (!result.saved) restored.clear();
  return result;
}

PurgeResult EmptyTrash(SongStore& store) {
  PurgeResult result;
  store.ReloadIfChanged();
  for (const std::string& record : store.SongList()) {
    if (IsDeletedRecord(record)) result.purgedIds.emplace_back(RecordField(record, kDeletedIdField));
  }
  store.EraseSongsWhere([](const std::string& record) { return IsDeletedRecord(record); });
  // The texts go only once the list without their records is on disk: otherwise the next start would
  // list songs in the trash whose texts are lost.
  result.saved = store.SaveSongList();
  if (!result.saved) {
    result.purgedIds.clear();
    return result;
  }
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
