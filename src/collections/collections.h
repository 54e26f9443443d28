// Selections and groups as SongCollection records: adding and removing songs, moving songs in a
// selection, and the collection editor's new, rename and delete. Every operation works on the records
// of one file in memory; the caller loads the file before and saves it after (collection_file.h).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_folder.h"

namespace psalmora {

class LanguageTable;
class SongStore;
struct SettingsFileRef;

enum class CollectionKind { Selection, Group };

// "auswahl.dat" or "gruppierung.dat" of the data folder.
const std::filesystem::path& CollectionFilePath(const DataFiles& files, CollectionKind kind);

// Record positions of the selection schema (1-based TAB fields).
namespace collection_field {
inline constexpr int kName = 1;
inline constexpr int kSongIds = 2;  // "allesongids": pool id, then "|" + id per song
inline constexpr int kGlobalId = 3;
inline constexpr int kRights = 4;
inline constexpr int kCreatedAt = 5;
inline constexpr int kCreatedBy = 6;
inline constexpr int kChangedAt = 7;
inline constexpr int kChangedBy = 8;
inline constexpr int kCount = 8;
}  // namespace collection_field

// Name given to a collection made by "new".
inline constexpr std::string_view kNewCollectionName = "-Neue Auswahlliste-";

// Who changed a record and when ("geaendert_am" in seconds since 1970, "geaendert_von" = "useridcb").
struct ChangeStamp {
  long long time = 0;
  std::string userId;
};
ChangeStamp ChangeStampNow(std::string_view userId);

// The record rebuilt in schema order, every field followed by a TAB: "allesongids" := songIds, the
// change time and user from stamp, every other field as it was, fields after the eighth included.
std::string RebuildCollectionRecord(std::string_view record, std::string_view songIds, const ChangeStamp& stamp);

// The collected song set: for each chosen row's id, top to bottom, the store line FindSongRecord gives
// (the id alone when the store has no such song).
std::vector<std::string> CollectSelectedSongIds(const SongStore& store, const std::vector<std::string>& rowIds);

struct AddSongsResult {
  bool changed = false;                           // the record at the position was rewritten
  std::vector<std::string> alreadyPresentTitles;  // songs left out because the collection had them
};

// Appends the collected songs (store lines) to the record at position, leaving out those it holds.
AddSongsResult AddSongsToCollection(std::vector<std::string>& records, std::size_t position,
                                    const std::vector<std::string>& collected, const ChangeStamp& stamp);
// "'" + title + "' " + "wurde schon ausgewählt", titled "Meldung".
UserMessage AlreadySelectedMessage(std::string_view title, LanguageTable& language);

// Removes every occurrence of each collected song from the record at position; false when there is
// no record there.
bool RemoveSongsFromCollection(std::vector<std::string>& records, std::size_t position,
                               const std::vector<std::string>& collected, const ChangeStamp& stamp);

// One row of the selection list as the window shows it.
struct SelectionRow {
  std::string id;
  std::string title;
  bool selected = false;
};

// The ids of a collection record (up to the first empty one) that name an active song, in order: the
// songs its list shows. Ids of songs in the trash, purged or never there stay in the record but are
// not shown.
std::vector<std::string> ActiveCollectionSongIds(const SongStore& store, std::string_view record);
// The rows of a collection's song list: the ActiveCollectionSongIds, each with its song's title.
std::vector<SelectionRow> CollectionRows(const SongStore& store, std::string_view record);
enum class MoveDirection { Up, Down };

// Moves every selected row one place; a block moves as a block and stops at the end of the list.
void MoveSongInSelection(std::vector<SelectionRow>& rows, MoveDirection direction);

// Writes the order of rows into the record at position. The ids the list does not show keep their
// places: those without an active song among the rows, and all after an empty id. False when there is
// no record there.
bool StoreSelectionOrder(std::vector<std::string>& records, std::size_t position, const std::vector<SelectionRow>& rows,
                         const ChangeStamp& stamp);

// A row of the collection editor: name, entry count, and the pool id (shown for groups).
struct CollectionEditorRow {
  std::string name;
  int entries = 0;
  std::string poolId;
};
std::vector<CollectionEditorRow> CollectionEditorRows(const std::vector<std::string>& records);

// "new": a record named "-Neue Auswahlliste-" at the front (selections carry creation time and user).
void NewCollection(std::vector<std::string>& records, CollectionKind kind, const ChangeStamp& stamp);

struct DeleteCollectionResult {
  bool deleted = false;
  bool poolFileRemoved = false;     // "datenpool/<pool id>.dat" existed and was removed
  bool globalIdRemembered = false;  // appended to "loeschstringplaylistclient"
};

// Removes the record at position; removes its data-pool file; remembers a selection's global id for
// the synchronisation. The caller saves the file.
DeleteCollectionResult DeleteCollection(std::vector<std::string>& records, std::size_t position, CollectionKind kind,
                                        const DataFiles& files, const SettingsFileRef& settings);

struct RenameResult {
  bool saved = false;                        // the record changed; the caller saves the file
  std::optional<std::string> poolIdTakenBy;  // the group that already has the requested pool id
};

// The editor's "Speichern". An empty name saves nothing. For groups a new pool id that another group
// already has is refused (the old one stays) and that group is named in the result.
RenameResult RenameCollection(std::vector<std::string>& records, std::size_t position, CollectionKind kind,
                              std::string_view newName, std::string_view newPoolId, const ChangeStamp& stamp);
// "Pool ID bereits für Gruppe" + " " + name + " " + "vergeben" + "!", titled with the editor's title.
UserMessage PoolIdTakenMessage(std::string_view groupName, CollectionKind kind, LanguageTable& language);
// The editor's title: "Auswahl bearbeiten" or "Gruppierung bearbeiten", translated.
std::string CollectionEditorTitle(CollectionKind kind, LanguageTable& language);

}  // namespace psalmora
