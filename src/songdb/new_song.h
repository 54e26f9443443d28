// Creating and saving a song the way the song editor does it, shared by the editor and psalmora-tool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class SongStore;

// Title a new song carries until the user gives it one.
inline constexpr std::string_view kNewSongTitle = "- Neuer Titel -";

// A song record from its values: exactly 21 values, each followed by a TAB. Missing values are empty,
// extra ones are dropped, and TAB, CR or LF inside a value become a blank (a value cannot hold them).
std::string BuildSongRecord(const std::vector<std::string>& values);

// Opens a new song: takes an id (the counter is used up even when the song is never saved) and the
// creation stamp; the result is the editing record "id TAB stamp TAB - Neuer Titel -".
std::string StartNewSong(SongStore& store);

struct SongSaveResult {
  std::string id;
  std::string record;
  bool listSaved = false;
  bool textSaved = false;
};

// The editor's save step on the store: value 12 ("letzte Änderung") becomes now; TABs in the text
// become six blanks; a new song (with the id of its editing record) goes to the top, an existing one
// replaces every record of its id. The text is written before the index (SongStore::StoreSong), after
// the list was brought up to date with the file. Nothing is written while the index is unreadable.
SongSaveResult SaveSongValues(SongStore& store, bool isNew, const std::string& editRecord,
                              std::vector<std::string> values, std::string_view text, long long now);

// A complete new song in one step (StartNewSong, then SaveSongValues with the title). While the index
// is unreadable nothing happens, not even an id is used up: the result has no id.
SongSaveResult CreateSong(SongStore& store, std::string_view title, std::string_view text);

}  // namespace psalmora
