// The local side of the synchronisation: what the service said is written into the song store, the
// selection file and the settings, on the thread that owns them.
#include <set>
#include <unordered_set>

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "collections/pending_deletions.h"
#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "online/service_protocol.h"
#include "online/song_sync.h"
#include "songdb/new_song.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "songdb/trash.h"

namespace psalmora {
namespace {

// The song fields a service entry carries: local field (1-based) <- entry field. A new song takes them
// all; a changed song has them replaced.
constexpr std::pair<int, int> kEntryFields[] = {{3, 2},   {4, 7},  {6, 6},   {7, 3},   {8, 4},  {11, 5},
                                               {12, 14}, {15, 8}, {16, 10}, {20, 16}, {21, 17}};

// A value from the service in a TAB-separated record: TAB, CR and LF cannot stand in it.
std::string Clean(std::string_view value) {
  std::string clean(value);
  for (char& c : clean) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return clean;
}

// The deletion list without the part the service took. Ids remembered while the requests ran stay.
std::string WithoutSent(const std::string& current, const std::string& sent) {
  if (sent.empty()) return current;
  if (current.rfind(sent, 0) == 0) return current.substr(sent.size());
  std::multiset<std::string> taken;
  for (std::string& id : SplitAt(sent, '|')) {
    if (!id.empty()) taken.insert(std::move(id));
  }
  std::string kept;
  for (const std::string& id : SplitAt(current, '|')) {
    if (id.empty()) continue;
    if (const auto found = taken.find(id); found != taken.end()) {
      taken.erase(found);
    } else {
      kept.append(id).append("|");
    }
  }
  return kept;
}

void ClearSentDeletions(const SettingsFileRef& settings, std::string& list, std::string_view key,
                        const std::string& sent, SyncReport& report) {
  if (sent.empty()) return;
  list = WithoutSent(list, sent);
  const WriteResult written = WriteSettingKey(kGroupMisc, key, list, settings.file);
  if (!written) report.problems.push_back(written.error);
}

std::string Title(std::string_view record) {
  return std::string(RecordField(record, song_field::kTitle));
}

// The global ids of every song, active or in the trash (there one field later).
std::unordered_set<std::string> KnownSongGlobalIds(const SongStore& store) {
  std::unordered_set<std::string> ids;
  for (const std::string& record : store.SongList()) {
    const int field = IsDeletedRecord(record) ? song_field::kGlobalId + 1 : song_field::kGlobalId;
    const std::string_view id = RecordField(record, field);
    if (!id.empty()) ids.emplace(id);
  }
  return ids;
}

class Applier {
 public:
  Applier(const SyncSnapshot& snapshot, const SyncOutcome& outcome, SongStore& store, const SettingsFileRef& settings)
      : snapshot_(snapshot), outcome_(outcome), store_(store), settings_(settings) {}

  SyncReport Apply() {
    report_.error = outcome_.error;
    report_.errorText = outcome_.errorText;
    if (outcome_.error == SyncError::kNotLoggedIn || outcome_.error == SyncError::kUnreachable) return report_;
    store_.ReloadIfChanged();
    StoreGivenGlobalIds();
    ClearSentDeletions(settings_, settings_.settings.loeschstringclient, kKeyDeletedSongs, outcome_.deletedSongsSent,
                       report_);
    if (outcome_.songCompareDone) {
      DeleteSongsDeletedOnService();
      CreateNewSongs();
      UpdateChangedSongs();
      for (const std::string& globalId : outcome_.songsSent) {
        for (const std::string& record : snapshot_.songs) {
          if (RecordField(record, song_field::kGlobalId) == globalId) report_.sent.push_back(Title(record));
        }
      }
    }
    ApplySelections();
    return report_;
  }

 private:
  void Problem(std::string text) { report_.problems.push_back(std::move(text)); }
  void SaveList() {
    if (!store_.SaveSongList())
      Problem("Die Liederliste konnte nicht gespeichert werden: " + store_.Files().lieder.string());
  }

  void SetGlobalId(std::string_view localId, std::string_view globalId, bool onlyWhenEmpty, bool& changed) {
    const std::optional<std::size_t> position = store_.FindSongPosition(localId);
    if (!position) return;
    const std::string& record = store_.SongList()[*position];
    if (onlyWhenEmpty && !RecordField(record, song_field::kGlobalId).empty()) return;
    store_.SetSongAt(*position, WithField(record, song_field::kGlobalId, globalId));
    changed = true;
  }

  // Global ids from the pool-43 conversion and for uploaded songs. A song whose upload failed keeps
  // its empty global id and is offered again next time.
  void StoreGivenGlobalIds() {
    bool changed = false;
    for (const auto& [localId, globalId] : outcome_.pool43GlobalIds) SetGlobalId(localId, globalId, false, changed);
    for (const UploadedItem& item : outcome_.uploadedSongs) {
      bool set = false;
      SetGlobalId(item.localId, item.globalId, true, set);
      if (set) report_.uploaded.push_back(Title(store_.FindSongRecord(item.localId)));
      changed = changed || set;
    }
    if (!changed && !outcome_.pool43Done) return;
    if (changed && !store_.SaveSongList()) {
      Problem("Die Liederliste konnte nicht gespeichert werden: " + store_.Files().lieder.string());
      return;
    }
    if (outcome_.pool43Done) {
      // Renamed only once the ids are on disk, so the conversion never runs twice and never gets lost.
      const std::filesystem::path pool = store_.Files().folder / "datenpool";
      std::error_code error;
      std::filesystem::rename(pool / "43.dat", pool / "43-alt.dat", error);
    }
  }

  void DeleteSongsDeletedOnService() {
    TrashContext context{store_, settings_, ChangeStampNow(settings_.settings.useridcb)};
    for (const std::string& globalId : outcome_.songs.deletedGlobalIds) {
      if (!IsPlausibleGlobalId(globalId)) continue;
      std::vector<std::string> titles;
      for (const std::string& record : store_.SongList()) {
        if (!IsDeletedRecord(record) && RecordField(record, song_field::kGlobalId) == globalId) {
          titles.push_back(Title(record));
        }
      }
      const DeleteSongsResult deleted = DeleteSong(context, globalId, SongKey::GlobalId);
      if (!deleted.saved) {
        Problem("Die Liederliste konnte nicht gespeichert werden: " + store_.Files().lieder.string());
        continue;
      }
      for (const auto& file : deleted.collectionsNotUpdated) {
        Problem("Die Datei konnte nicht geschrieben werden: " + file.string());
      }
      report_.deleted.insert(report_.deleted.end(), titles.begin(), titles.end());
      report_.deletedIds.insert(report_.deletedIds.end(), deleted.deletedIds.begin(), deleted.deletedIds.end());
    }
  }

  // Songs new on the service, each at the head of the list in reply order: the texts first, then the
  // list in one save, which commits them all.
  void CreateNewSongs() {
    std::unordered_set<std::string> known = KnownSongGlobalIds(store_);
    std::vector<ServiceSongEntry> entries;
    for (const std::string& raw : outcome_.songs.newEntries) {
      ServiceSongEntry entry = ParseSongEntry(raw);
      const std::string globalId(entry.Field(1));
      // A song the store has (or holds in the trash, its deletion not yet reported) is not new.
      if (!entry.complete || !IsPlausibleGlobalId(globalId) || !known.insert(globalId).second) continue;
      entries.push_back(std::move(entry));
    }
    if (entries.empty()) return;
    const std::vector<std::string> ids = store_.NextSongIds(entries.size());
    if (ids.size() != entries.size()) {
      Problem("F\xFCr neue Lieder konnten keine Nummern vergeben werden.");
      return;
    }
    std::vector<std::string> written;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const ServiceSongEntry& entry = entries[i];
      if (!store_.WriteSongText(ids[i], LyricsToSongText(entry.Field(11)))) {
        Problem("Der Liedtext konnte nicht geschrieben werden: " + store_.SongTextPath(ids[i]).string());
        continue;
      }
      written.push_back(ids[i]);
      std::vector<std::string> values(song_field::kCount);
      values[song_field::kId - 1] = ids[i];
      values[song_field::kCreated - 1] = FormatTimestamp(LeadingNumber(entry.Field(12)));
      values[song_field::kGlobalId - 1] = entry.Field(1);
      for (const auto& [local, remote] : kEntryFields) values[static_cast<std::size_t>(local - 1)] = entry.Field(remote);
      store_.InsertSongAtTop(BuildSongRecord(values));
      report_.downloaded.push_back(Clean(entry.Field(2)));
    }
    if (!store_.SaveSongList()) {
      Problem("Die Liederliste konnte nicht gespeichert werden: " + store_.Files().lieder.string());
      for (const std::string& id : written) store_.RemoveSongText(id);
      report_.downloaded.clear();
      return;
    }
    report_.createdIds = std::move(written);
  }

  void UpdateChangedSongs() {
    bool changed = false;
    for (const std::string& raw : outcome_.songs.changedEntries) {
      const ServiceSongEntry entry = ParseSongEntry(raw);
      if (!entry.complete || !IsPlausibleGlobalId(entry.Field(1))) continue;
      for (std::size_t position = 0; position < store_.SongList().size(); ++position) {
        const std::string& current = store_.SongList()[position];
        if (IsDeletedRecord(current) || RecordField(current, song_field::kGlobalId) != entry.Field(1)) continue;
        const std::string id(RecordField(current, song_field::kId));
        if (!store_.WriteSongText(id, LyricsToSongText(entry.Field(11)))) {
          Problem("Der Liedtext konnte nicht geschrieben werden: " + store_.SongTextPath(id).string());
          continue;
        }
        std::string record = current;
        for (const auto& [local, remote] : kEntryFields) record = WithField(record, local, Clean(entry.Field(remote)));
        store_.SetSongAt(position, std::move(record));
        report_.changed.push_back(Clean(entry.Field(2)));
        report_.changedIds.push_back(id);
        changed = true;
      }
    }
    if (changed) SaveList();
  }

  // A selection record from a service entry: eight fields, no TAB after the last.
  static std::string SelectionRecord(const ServiceSelectionEntry& entry,
                                     const std::unordered_map<std::string, std::string>& localIds) {
    const std::string fields[] = {Clean(entry.Field(2)), SelectionSongsFromService(Clean(entry.Field(3)), localIds),
                                  Clean(entry.Field(1)), Clean(entry.Field(8)),
                                  Clean(entry.Field(4)), Clean(entry.Field(5)),
                                  Clean(entry.Field(6)), Clean(entry.Field(7))};
    std::string record;
    for (const std::string& field : fields) {
      if (&field != &fields[0]) record.push_back('\t');
      record.append(field);
    }
    return record;
  }

  // The record the snapshot's selection at index has become: the same text (at its place or
  // elsewhere), else a selection with the same name and creation time not yet linked to the service
  // (a song deleted meanwhile changed its list).
  static std::vector<std::string>::iterator FindSnapshotSelection(std::vector<std::string>& records,
                                                                  const std::string& original, std::size_t index) {
    if (index < records.size() && records[index] == original) return records.begin() + static_cast<long>(index);
    for (auto it = records.begin(); it != records.end(); ++it) {
      if (*it == original) return it;
    }
    for (auto it = records.begin(); it != records.end(); ++it) {
      if (RecordField(*it, collection_field::kGlobalId).empty() &&
          RecordField(*it, collection_field::kName) == RecordField(original, collection_field::kName) &&
          RecordField(*it, collection_field::kCreatedAt) == RecordField(original, collection_field::kCreatedAt)) {
        return it;
      }
    }
    return records.end();
  }

  void ApplySelections() {
    if (snapshot_.selectionsUnreadable) return;
    ClearSentDeletions(settings_, settings_.settings.loeschstringplaylistclient, kKeyDeletedSelections,
                       outcome_.deletedSelectionsSent, report_);
    if (outcome_.uploadedSelections.empty() && !outcome_.selectionCompareDone) return;
    HeldCollectionFile file(store_.Files().auswahl);
    file.Load();
    if (file.Unreadable()) {
      Problem("Die Datei konnte nicht gelesen werden und bleibt unver\xE4ndert: " + file.File().string());
      return;
    }
    std::vector<std::string>& records = file.Records();
    bool changed = false;
    for (const UploadedItem& item : outcome_.uploadedSelections) {
      if (item.snapshotIndex >= snapshot_.selections.size()) continue;
      const auto it = FindSnapshotSelection(records, snapshot_.selections[item.snapshotIndex], item.snapshotIndex);
      if (it == records.end()) continue;
      *it = WithField(*it, collection_field::kGlobalId, item.globalId);
      ++report_.selectionsUploaded;
      changed = true;
    }
    if (outcome_.selectionCompareDone) changed = ApplySelectionCompare(records) || changed;
    report_.selectionsSent = static_cast<int>(outcome_.selectionsSent.size());
    if (changed && !file.Save()) Problem("Die Datei konnte nicht geschrieben werden: " + file.File().string());
  }

  bool ApplySelectionCompare(std::vector<std::string>& records) {
    bool changed = false;
    const auto globalIdOf = [](const std::string& record) { return RecordField(record, collection_field::kGlobalId); };
    for (const std::string& globalId : outcome_.selections.deletedGlobalIds) {
      if (!IsPlausibleGlobalId(globalId)) continue;
      const auto before = records.size();
      std::erase_if(records, [&](const std::string& record) { return globalIdOf(record) == globalId; });
      report_.selectionsDeleted += static_cast<int>(before - records.size());
      changed = changed || before != records.size();
    }
    std::unordered_map<std::string, std::string> localIds;
    for (const std::string& record : store_.SongList()) {
      const std::string_view globalId = RecordField(record, song_field::kGlobalId);
      if (!IsDeletedRecord(record) && !globalId.empty())
        localIds.emplace(globalId, RecordField(record, song_field::kId));
    }
    for (const std::string& raw : outcome_.selections.newEntries) {
      const ServiceSelectionEntry entry = ParseSelectionEntry(raw);
      if (!entry.complete || !IsPlausibleGlobalId(entry.Field(1))) continue;
      const bool known = std::any_of(records.begin(), records.end(),
                                     [&](const std::string& record) { return globalIdOf(record) == entry.Field(1); });
      if (known) continue;
      records.push_back(SelectionRecord(entry, localIds));
      ++report_.selectionsDownloaded;
      changed = true;
    }
    for (const std::string& raw : outcome_.selections.changedEntries) {
      const ServiceSelectionEntry entry = ParseSelectionEntry(raw);
      if (!entry.complete || !IsPlausibleGlobalId(entry.Field(1))) continue;
      for (std::string& record : records) {
        if (globalIdOf(record) != entry.Field(1)) continue;
        record = SelectionRecord(entry, localIds);
        ++report_.selectionsChanged;
        changed = true;
      }
    }
    return changed;
  }

  const SyncSnapshot& snapshot_;
  const SyncOutcome& outcome_;
  SongStore& store_;
  const SettingsFileRef& settings_;
  SyncReport report_;
};

}  // namespace

SyncReport ApplySyncOutcome(const SyncSnapshot& snapshot, const SyncOutcome& outcome, SongStore& store,
                            const SettingsFileRef& settings) {
  return Applier(snapshot, outcome, store, settings).Apply();
}

SyncReport SyncWithCantabox(SongStore& store, const SettingsFileRef& settings, const HttpGet& http,
                            const SyncProgressFunction& progress) {
  const SyncSnapshot snapshot = TakeSyncSnapshot(store, settings.settings);
  const SyncOutcome outcome = RunSyncRequests(snapshot, http, progress, nullptr);
  return ApplySyncOutcome(snapshot, outcome, store, settings);
}

}  // namespace psalmora
