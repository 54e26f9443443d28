// Synchronisation of the song store and the selections with the user's account on the song-management
// service (Cantabox), in three steps so the network can run off the interface thread:
//   TakeSyncSnapshot (interface thread: copies what the requests need)
//   -> RunSyncRequests (any thread: every request, nothing local is written)
//   -> ApplySyncOutcome (interface thread: the store, the selections and the settings are changed).
// An unreachable server or a cancelled run changes nothing that the server did not already take.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "collections/pending_deletions.h"
#include "core/atomic_file.h"
#include "online/web_access.h"

namespace psalmora {

struct Settings;
class SongStore;

// Where the service answers: base address + "/app/app-aktion.php?" + query.
inline constexpr std::string_view kServicePath = "/app/app-aktion.php";
// "http://host:port/app/app-aktion.php?" for the setting "serveradresse" (a trailing "/" is dropped).
std::string ServiceUrl(std::string_view serverAddress);

// The server at serverAddress answers "aktion=ping" within 3 seconds. Every service
// operation asks first, so a wrong address or a stopped server gets its own message.
bool ServerAnswers(const HttpGet& http, std::string_view serverAddress);

// ---- Login -------------------------------------------------------------------------------------------

struct LoginResult {
  bool ok = false;
  std::string userId;  // set when ok
  std::string error;   // Windows-1252 text for the user when not ok (the service's message, or ours)
};

// Checks the server ("aktion=ping"), then sends the login. E-mail and password are Windows-1252 and
// encoded like every value; the URL is never printed anywhere. The user id is the reply up to the first
// "["; an "error|…" reply gives the text after the "|".
LoginResult LoginCantabox(const HttpGet& http, std::string_view serverAddress, std::string_view email,
                          std::string_view password);

// Stores the user id as "useridcb" (in memory and in the settings file, the file's other lines kept).
WriteResult StoreUserId(const SettingsFileRef& settings, std::string_view userId);

// ---- Reply helpers -------------------------------------------------------------------------------------

// Replaces the UTF-8 byte pairs of Ä Ö Ü ä ö ü ß by their Windows-1252 characters; all other bytes stay.
std::string RepairUtf8Umlauts(std::string_view text);

// One song of a service reply: the 17 "[spalte]" fields (missing ones empty). An entry cut short
// (a reply broken off) is not complete and changes nothing.
struct ServiceSongEntry {
  std::vector<std::string> fields;  // always 17, field n at index n - 1
  bool complete = false;            // all 17 fields came
  std::string_view Field(int n) const { return fields[static_cast<std::size_t>(n - 1)]; }
};
// One selection of a service reply: the 8 "[spalte]" fields.
struct ServiceSelectionEntry {
  std::vector<std::string> fields;  // always 8
  bool complete = false;            // all 8 fields came
  std::string_view Field(int n) const { return fields[static_cast<std::size_t>(n - 1)]; }
};

// The "fertig" reply of a compare, after RepairUtf8Umlauts and the UTF-8 -> Windows-1252 conversion.
struct CompareReply {
  std::vector<std::string> deletedGlobalIds;    // section 1
  std::vector<std::string> newEntries;          // section 2, raw "[spalte]" entries
  std::vector<std::string> requestedGlobalIds;  // section 3
  std::vector<std::string> changedEntries;      // section 4, raw entries
};
// Splits a reply into its four sections; empty pieces are dropped. Garbage gives empty sections.
CompareReply ParseCompareReply(std::string_view reply);
ServiceSongEntry ParseSongEntry(std::string_view entry);
ServiceSelectionEntry ParseSelectionEntry(std::string_view entry);

// ---- Synchronisation -----------------------------------------------------------------------------------

// Everything RunSyncRequests needs, copied on the interface thread.
struct SyncSnapshot {
  std::string serverAddress;
  std::string userId;
  std::filesystem::path dataFolder;     // song texts are read from here (never written)
  std::vector<std::string> songs;       // active songs' records, in store order
  std::vector<std::string> selections;  // records of "auswahl.dat"
  bool selectionsUnreadable = false;    // "auswahl.dat" is there but cannot be read: left out
  std::string deletedSongs;             // "loeschstringclient" as it was
  std::string deletedSelections;        // "loeschstringplaylistclient" as it was
  bool pool43 = false;                  // "datenpool/43.dat" exists
  std::string pool43Mapping;            // its content
};

// Copies what the requests need from the store, the selection file and the settings.
SyncSnapshot TakeSyncSnapshot(const SongStore& store, const Settings& settings);

enum class SyncError {
  kNone,
  kNotLoggedIn,    // no "useridcb"
  kUnreachable,    // the server did not answer the check
  kRejected,       // the service refused (an unknown user): its message is in errorText
  kCancelled,      // stopped by the user; what the server already took is still applied
  kCompareFailed,  // the compare reply did not come: the uploads stand, nothing else is applied
};

struct SyncProgress {
  int done = 0;
  int total = 0;
  std::string text;  // "12 von 250 Liedern"
};
using SyncProgressFunction = std::function<void(const SyncProgress&)>;

// A song or selection the service gave a global id.
struct UploadedItem {
  std::size_t snapshotIndex = 0;  // into SyncSnapshot::songs or ::selections
  std::string localId;            // the song id (songs only)
  std::string globalId;
};

// What the server said; holds no reference to the store.
struct SyncOutcome {
  SyncError error = SyncError::kNone;
  std::string errorText;  // Windows-1252, for the one line or message box

  std::vector<std::pair<std::string, std::string>> pool43GlobalIds;  // local id -> global id
  bool pool43Done = false;                                           // the mapping came: "datenpool/43.dat" is renamed

  std::vector<UploadedItem> uploadedSongs;
  std::size_t songUploadsFailed = 0;
  std::string deletedSongsSent;  // the part of "loeschstringclient" the service took
  bool songCompareDone = false;
  CompareReply songs;
  std::vector<std::string> songsSent;  // global ids sent as changed (section 3)

  std::vector<UploadedItem> uploadedSelections;
  std::string deletedSelectionsSent;
  bool selectionCompareDone = false;
  CompareReply selections;
  std::vector<std::string> selectionsSent;
};

// Runs every request of a synchronisation on the snapshot: the server check ("aktion=ping", 3 s), the
// pool-43 conversion, uploads, deletions, the compare in batches of 101 ("teil"/"fertig"), the songs
// and selections the service asks for. Reads song texts, writes nothing. cancel (may be null) is
// looked at between requests.
SyncOutcome RunSyncRequests(const SyncSnapshot& snapshot, const HttpGet& http, const SyncProgressFunction& progress,
                            const std::atomic<bool>* cancel);

// What the synchronisation did, for the final message and the tool's output.
struct SyncReport {
  SyncError error = SyncError::kNone;
  std::string errorText;
  std::vector<std::string> uploaded;    // titles of songs the service took as new
  std::vector<std::string> downloaded;  // titles of songs new from the service
  std::vector<std::string> changed;     // titles of songs changed from the service
  std::vector<std::string> deleted;     // titles of songs deleted because the service deleted them
  std::vector<std::string> sent;        // titles of songs sent as changed to the service
  std::vector<std::string> createdIds, changedIds, deletedIds;  // local ids, to refresh the lists
  int selectionsUploaded = 0, selectionsDownloaded = 0, selectionsChanged = 0, selectionsDeleted = 0,
      selectionsSent = 0;
  std::vector<std::string> problems;  // files that could not be written (the change holds in memory)
  bool Ok() const { return error == SyncError::kNone; }
};

// Applies an outcome to the store, the selection file and the settings (interface thread). Uploaded
// songs and selections get their global ids; the deletion lists lose what the service took; with a
// complete compare, songs deleted on the service go to the trash (not reported back), new ones are
// created at the top, changed ones take the service's fields and text, and the same for selections.
SyncReport ApplySyncOutcome(const SyncSnapshot& snapshot, const SyncOutcome& outcome, SongStore& store,
                            const SettingsFileRef& settings);

// The three steps in a row on the calling thread (psalmora-tool, tests).
SyncReport SyncWithCantabox(SongStore& store, const SettingsFileRef& settings, const HttpGet& http,
                            const SyncProgressFunction& progress = {});

}  // namespace psalmora
