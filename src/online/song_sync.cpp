// The login and the network side of the synchronisation: the snapshot of what the requests need and
// every request, run on a copy so that it can work off the interface thread.
#include "online/song_sync.h"

#include <random>

#include "collections/collection_file.h"
#include "collections/collections.h"
#include "collections/pending_deletions.h"
#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "online/service_protocol.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

// A compare request carries this many items at most; the next one starts a new request.
constexpr std::size_t kCompareBatch = 101;

std::string CompareRunToken() {
  std::random_device random;
  std::string token;
  for (int i = 0; i < 16; ++i) token += "0123456789abcdef"[random() % 16];
  return token;
}

const HttpOptions kServerCheck{std::chrono::milliseconds(3000), std::chrono::milliseconds(3000)};

std::string UnreachableText(std::string_view serverAddress) {
  return "Der Server " + std::string(serverAddress) + " ist nicht erreichbar.";
}

// "error|message" -> the message (Windows-1252); nothing for any other reply.
std::optional<std::string> ErrorOf(std::string_view reply) {
  if (reply.rfind("error|", 0) != 0) return std::nullopt;
  return ReplyToCp1252(reply.substr(6));
}

// The global id of an "…|GLOBALID" reply, or empty.
std::string GlobalIdOfReply(std::string_view reply) {
  const std::size_t bar = reply.find('|');
  if (bar == std::string_view::npos || reply.rfind("error|", 0) == 0) return {};
  std::string_view id = reply.substr(bar + 1);
  id = id.substr(0, id.find_first_of("|\r\n"));
  return IsPlausibleGlobalId(id) ? std::string(id) : std::string();
}

bool Cancelled(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load();
}

// One run of requests with the state the steps share.
class SyncRun {
 public:
  SyncRun(const SyncSnapshot& snapshot, const HttpGet& http, const SyncProgressFunction& progress,
          const std::atomic<bool>* cancel)
      : snapshot_(snapshot),
        songs_(snapshot.songs),
        http_(http),
        progress_(progress),
        cancel_(cancel),
        base_(ServiceUrl(snapshot.serverAddress)) {}

  SyncOutcome Run() {
    if (snapshot_.userId.empty()) return Fail(SyncError::kNotLoggedIn, "Nicht bei Cantabox angemeldet.");
    if (!ServerAnswers(http_, snapshot_.serverAddress))
      return Fail(SyncError::kUnreachable, UnreachableText(snapshot_.serverAddress));
    ConvertPool43Ids();
    for (const auto step :
         {&SyncRun::UploadSongs, &SyncRun::SendSongDeletions, &SyncRun::CompareSongs, &SyncRun::UploadSelections,
          &SyncRun::SendSelectionDeletions, &SyncRun::CompareSelections}) {
      if (!(this->*step)()) break;
    }
    return std::move(outcome_);
  }

 private:
  SyncOutcome Fail(SyncError error, std::string text) {
    outcome_.error = error;
    outcome_.errorText = std::move(text);
    return std::move(outcome_);
  }
  bool Stop(SyncError error, std::string text) {
    outcome_.error = error;
    outcome_.errorText = std::move(text);
    return false;
  }
  bool CheckCancel() {
    if (!Cancelled(cancel_)) return true;
    return Stop(SyncError::kCancelled, "Der Abgleich wurde abgebrochen.");
  }
  std::string Get(const std::string& query) { return http_(base_ + query, HttpOptions{}); }
  void Report(std::size_t done, std::size_t total, std::string_view noun) {
    if (!progress_) return;
    SyncProgress state{static_cast<int>(done), static_cast<int>(total), {}};
    state.text = std::to_string(done) + " von " + std::to_string(total) + " " + std::string(noun);
    progress_(state);
  }
  std::string Lyrics(std::string_view record) const {
    const std::filesystem::path file = SongTextFile(snapshot_.dataFolder, RecordField(record, song_field::kId));
    if (file.empty()) return {};
    return LyricsValue(ReadWholeFile(file).value_or(std::string()));
  }
  GlobalIdMap SongGlobalIds() const {
    GlobalIdMap ids;
    for (const std::string& record : songs_) {
      const std::string_view globalId = RecordField(record, song_field::kGlobalId);
      if (!globalId.empty()) ids.emplace(RecordField(record, song_field::kId), globalId);
    }
    return ids;
  }

  // Songs the data pool 43 shared get the global ids the service gave them, before anything is
  // uploaded, so they are not uploaded a second time.
  void ConvertPool43Ids() {
    if (!snapshot_.pool43) return;
    const std::string reply = ReplyToCp1252(Get(Pool43Query(snapshot_.userId)));
    if (reply.empty() || ErrorOf(reply)) return;
    std::unordered_map<std::string, std::string> globalIdOfPoolSong;
    std::size_t start = 0;
    while (start <= reply.size()) {
      std::size_t end = reply.find("[zeile]", start);
      if (end == std::string::npos) end = reply.size();
      const std::string_view piece = std::string_view(reply).substr(start, end - start);
      const std::string_view poolId = PartAt(piece, 1);
      const std::string_view globalId = PartAt(piece, 2);
      if (!poolId.empty() && IsPlausibleGlobalId(globalId)) globalIdOfPoolSong.emplace(poolId, globalId);
      start = end + 7;
    }
    outcome_.pool43Done = true;
    for (const std::string& line : SplitAt(snapshot_.pool43Mapping, '\n')) {
      std::string_view text = line;
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      const auto found = globalIdOfPoolSong.find(std::string(RecordField(text, 1)));
      const std::string_view localId = RecordField(text, 2);
      if (found == globalIdOfPoolSong.end() || localId.empty()) continue;
      outcome_.pool43GlobalIds.emplace_back(localId, found->second);
      for (std::string& record : songs_) {
        if (RecordField(record, song_field::kId) == localId) {
          record = WithField(record, song_field::kGlobalId, found->second);
        }
      }
    }
  }

  bool UploadSongs() {
    std::vector<std::size_t> pending;
    for (std::size_t i = 0; i < songs_.size(); ++i) {
      if (RecordField(songs_[i], song_field::kGlobalId).empty()) pending.push_back(i);
    }
    for (std::size_t n = 0; n < pending.size(); ++n) {
      if (!CheckCancel()) return false;
      std::string& record = songs_[pending[n]];
      const std::string reply = Get(NewSongQuery(snapshot_.userId, record, Lyrics(record)));
      if (const std::optional<std::string> error = ErrorOf(reply)) return Stop(SyncError::kRejected, *error);
      const std::string globalId = GlobalIdOfReply(reply);
      if (globalId.empty()) {
        ++outcome_.songUploadsFailed;
      } else {
        outcome_.uploadedSongs.push_back({pending[n], std::string(RecordField(record, song_field::kId)), globalId});
        record = WithField(record, song_field::kGlobalId, globalId);
      }
      Report(n + 1, pending.size(), "Liedern");
    }
    return true;
  }

  bool SendDeletions(std::string_view action, const std::string& list, std::string& sent) {
    if (list.empty()) return true;
    if (!CheckCancel()) return false;
    const std::string reply = Get(DeleteQuery(action, list, snapshot_.userId));
    if (const std::optional<std::string> error = ErrorOf(reply)) return Stop(SyncError::kRejected, *error);
    if (reply.rfind("ok", 0) == 0) sent = list;
    return true;
  }
  bool SendSongDeletions() { return SendDeletions("deletesongs", snapshot_.deletedSongs, outcome_.deletedSongsSent); }
  bool SendSelectionDeletions() {
    return SendDeletions("deleteplaylist", snapshot_.deletedSelections, outcome_.deletedSelectionsSent);
  }

  // Sends "gid-date[spalte]" items in requests of kCompareBatch; the last one ("fertig") is read.
  bool Compare(std::string_view action, const std::vector<std::string>& items, std::string_view noun, bool& done,
               CompareReply& result) {
    std::size_t next = 0;
    do {
      if (!CheckCancel()) return false;
      const std::size_t end = std::min(items.size(), next + kCompareBatch);
      std::string list;
      for (std::size_t i = next; i < end; ++i) list.append(items[i]).append("[spalte]");
      // A full batch is sent as "teil" even when it is the last, as the service expects.
      const bool last = end - next < kCompareBatch;
      const std::string reply = Get(CompareQuery(action, list, snapshot_.userId, last) + "&abgleichid=" + compareRun_);
      if (const std::optional<std::string> error = ErrorOf(reply)) return Stop(SyncError::kRejected, *error);
      if (reply.empty()) {
        return Stop(SyncError::kCompareFailed, "Der Server hat den Abgleich nicht beantwortet.");
      }
      next = end;
      Report(next, items.size(), noun);
      if (last) {
        result = ParseCompareReply(ReplyToCp1252(reply));
        done = true;
        return true;
      }
    } while (true);
  }

  bool CompareSongs() {
    std::vector<std::string> items;
    for (const std::string& record : songs_) {
      const std::string_view globalId = RecordField(record, song_field::kGlobalId);
      if (globalId.empty()) continue;
      items.push_back(std::string(globalId) + "-" + std::string(RecordField(record, song_field::kLastChange)));
    }
    if (!Compare("abgleich", items, "Liedern", outcome_.songCompareDone, outcome_.songs)) return false;
    // The songs whose local version the service asks for.
    const std::vector<std::string>& requested = outcome_.songs.requestedGlobalIds;
    for (std::size_t n = 0; n < requested.size(); ++n) {
      if (!IsPlausibleGlobalId(requested[n])) continue;
      for (const std::string& record : songs_) {
        if (RecordField(record, song_field::kGlobalId) != requested[n]) continue;
        if (!CheckCancel()) return false;
        const std::string reply = Get(ChangeSongQuery(snapshot_.userId, record, Lyrics(record)));
        if (reply.rfind("ok", 0) == 0) outcome_.songsSent.push_back(requested[n]);
      }
      Report(n + 1, requested.size(), "Liedern");
    }
    return true;
  }

  bool UploadSelections() {
    // Selections that were never read are neither sent nor compared: the service would offer them all
    // as new.
    if (snapshot_.selectionsUnreadable) return false;
    const GlobalIdMap songIds = SongGlobalIds();
    selections_ = snapshot_.selections;
    for (std::size_t i = 0; i < selections_.size(); ++i) {
      std::string& record = selections_[i];
      if (!RecordField(record, collection_field::kGlobalId).empty()) continue;
      if (!CheckCancel()) return false;
      const std::string reply = Get(SelectionQuery(true, snapshot_.userId, record, songIds));
      if (const std::optional<std::string> error = ErrorOf(reply)) return Stop(SyncError::kRejected, *error);
      const std::string globalId = GlobalIdOfReply(reply);
      if (globalId.empty()) continue;
      outcome_.uploadedSelections.push_back({i, {}, globalId});
      record = WithField(record, collection_field::kGlobalId, globalId);
    }
    return true;
  }

  bool CompareSelections() {
    std::vector<std::string> items;
    for (const std::string& record : selections_) {
      const std::string_view globalId = RecordField(record, collection_field::kGlobalId);
      if (globalId.empty()) continue;
      items.push_back(std::string(globalId) + "-" + std::string(RecordField(record, collection_field::kChangedAt)));
    }
    if (!Compare("abgleichplaylist", items, "Auswahllisten", outcome_.selectionCompareDone, outcome_.selections)) {
      return false;
    }
    const GlobalIdMap songIds = SongGlobalIds();
    for (const std::string& globalId : outcome_.selections.requestedGlobalIds) {
      if (!IsPlausibleGlobalId(globalId)) continue;
      for (const std::string& record : selections_) {
        if (RecordField(record, collection_field::kGlobalId) != globalId) continue;
        if (!CheckCancel()) return false;
        if (Get(SelectionQuery(false, snapshot_.userId, record, songIds)).rfind("ok", 0) == 0) {
          outcome_.selectionsSent.push_back(globalId);
        }
      }
    }
    return true;
  }

  const SyncSnapshot& snapshot_;
  std::vector<std::string> songs_;       // the snapshot's songs with the global ids given so far
  std::vector<std::string> selections_;  // the same for the selections
  const HttpGet& http_;
  const SyncProgressFunction& progress_;
  const std::atomic<bool>* cancel_;
  std::string base_;
  // Names this run's compare parts, so that the service keeps the parts of two computers of one
  // account that compare at the same moment apart instead of answering one with the other's list.
  std::string compareRun_ = CompareRunToken();
  SyncOutcome outcome_;
};

}  // namespace

bool ServerAnswers(const HttpGet& http, std::string_view serverAddress) {
  return http(ServiceUrl(serverAddress) + PingQuery(), kServerCheck).rfind("ok", 0) == 0;
}

LoginResult LoginCantabox(const HttpGet& http, std::string_view serverAddress, std::string_view email,
                          std::string_view password) {
  LoginResult result;
  const std::string base = ServiceUrl(serverAddress);
  if (!ServerAnswers(http, serverAddress)) {
    result.error = UnreachableText(serverAddress);
    return result;
  }
  const std::string reply = http(base + LoginQuery(email, password), HttpOptions{});
  if (const std::optional<std::string> error = ErrorOf(reply)) {
    result.error = error->empty() ? std::string("Anmeldung fehlgeschlagen.") : *error;
    return result;
  }
  const std::string userId = reply.substr(0, reply.find('['));
  if (!IsPlausibleGlobalId(userId)) {
    result.error = reply.empty() ? "Der Server hat die Anmeldung nicht beantwortet."
                                 : "Der Server hat eine unverst\xE4ndliche Antwort gegeben.";
    return result;
  }
  result.ok = true;
  result.userId = userId;
  return result;
}

WriteResult StoreUserId(const SettingsFileRef& settings, std::string_view userId) {
  settings.settings.useridcb = std::string(userId);
  return WriteSettingKey(kGroupMisc, kKeyUserIdCb, userId, settings.file);
}

SyncSnapshot TakeSyncSnapshot(const SongStore& store, const Settings& settings) {
  SyncSnapshot snapshot;
  snapshot.serverAddress = settings.serveradresse;
  snapshot.userId = settings.useridcb;
  snapshot.dataFolder = store.Files().folder;
  for (const std::string& record : store.SongList()) {
    if (!IsDeletedRecord(record) && !record.empty()) snapshot.songs.push_back(record);
  }
  CollectionFileContent selections = ReadCollectionFile(store.Files().auswahl);
  snapshot.selections = std::move(selections.records);
  snapshot.selectionsUnreadable = selections.unreadable;
  snapshot.deletedSongs = settings.loeschstringclient;
  snapshot.deletedSelections = settings.loeschstringplaylistclient;
  const std::filesystem::path pool43 = store.Files().folder / "datenpool" / "43.dat";
  if (std::optional<std::string> mapping = ReadWholeFile(pool43)) {
    snapshot.pool43 = true;
    snapshot.pool43Mapping = std::move(*mapping);
  }
  return snapshot;
}

SyncOutcome RunSyncRequests(const SyncSnapshot& snapshot, const HttpGet& http, const SyncProgressFunction& progress,
                            const std::atomic<bool>* cancel) {
  return SyncRun(snapshot, http, progress, cancel).Run();
}

}  // namespace psalmora
