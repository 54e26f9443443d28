// The trash: deleting marks a song's record with "#gelöscht#" and takes it out of every selection and
// group; restoring unmarks it; emptying the trash removes marked records and their text files for good.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "collections/collections.h"
#include "collections/pending_deletions.h"

namespace psalmora {

class LanguageTable;
class SongStore;

// What a deletion touches besides the song list: the settings that remember deleted shared songs, and
// the change stamp of the selections and groups that lose the song.
struct TrashContext {
  SongStore& store;
  SettingsFileRef settings;
  ChangeStamp stamp;
};

// Which field names the songs to delete: field 1 (a local id) or field 19 (a global id, from the
// synchronisation).
enum class SongKey { LocalId, GlobalId };

// State of a deletion of several songs: the progress bar value and the text "done/total".
struct DeleteProgress {
  int done = 0;
  int total = 0;
  int percent = 0;
  std::string text;
};
using DeleteProgressFunction = std::function<void(const DeleteProgress&)>;

struct DeleteSongsResult {
  std::vector<std::string> deletedIds;  // the marked songs, whose rows the lists drop
  bool saved = true;                    // "lieder.dat" was written (or nothing was to delete)
  // Selection or group files that still name deleted songs: unreadable, or their write failed.
  std::vector<std::filesystem::path> collectionsNotUpdated;
};

// Marks every active song whose key field equals key and saves the song list. Only once the list is
// on disk do the songs leave every selection and group (both files are written when they change) and,
// for a local id, a non-empty global id is remembered in "loeschstringclient"; when the save fails
// nothing is changed, in memory or on disk. The list is first brought up to date with the file
// (SongStore::ReloadIfChanged). An empty key deletes nothing.
DeleteSongsResult DeleteSong(TrashContext& context, std::string_view key, SongKey keyKind);

// "Lied löschen" on the collected songs (store lines): reports the start (bar at 1, "0/n") and every
// song done (bar at 100 / n rounded down times the number done), then commits them all as DeleteSong
// does, with one save of each file.
DeleteSongsResult DeleteSongs(TrashContext& context, const std::vector<std::string>& collected,
                              const DeleteProgressFunction& progress);

// The store has a song with this id that is not in the trash. The trash marker itself names no song.
bool IsActiveSong(const SongStore& store, std::string_view id);
// A song with this id is in the trash.
bool IsInTrash(const SongStore& store, std::string_view id);

// A song listed in the trash.
struct TrashEntry {
  std::string id;
  std::string title;
};
std::vector<TrashEntry> TrashEntries(const SongStore& store);

struct RestoreResult {
  std::vector<TrashEntry> restored;  // in the order asked for; the lists add them at the top
  bool saved = true;                 // "lieder.dat" was written (or nothing changed)
};

// Restores the songs in the trash with these ids (as "Wiederherstellen"): the record as it was, but no
// longer linked to the song-management service. Saves the list when anything changed; ids not in the
// trash are passed over. When the save fails nothing is restored, in memory or on disk.
RestoreResult RestoreSongs(SongStore& store, const std::vector<std::string>& ids);

struct PurgeResult {
  std::vector<std::string> purgedIds;
  std::vector<std::string> keptTextIds;  // text files that could not be removed
  bool saved = true;                     // "lieder.dat" was written
};

// "Papierkorb leeren": removes every record in the trash, saves the list, and then removes their text
// files. When the list cannot be saved nothing is purged: the trash stays in memory as on disk, and
// the songs keep their texts.
PurgeResult EmptyTrash(SongStore& store);

// The messages of the trash, translated.
UserMessage SongsDeletedMessage(LanguageTable& language);
UserMessage NothingChosenMessage(LanguageTable& language);
UserMessage RestoredMessage(LanguageTable& language);
UserMessage TrashEmptiedMessage(LanguageTable& language);
// Shown instead of the success message when "lieder.dat" could not be written: the change holds for this
// run, but the user must know it is not on disk.
UserMessage SongListNotSavedMessage(LanguageTable& language, const std::filesystem::path& songListFile);

}  // namespace psalmora
