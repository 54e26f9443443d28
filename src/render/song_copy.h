// Copying a song ("songcopy speichern"): the copy's record and text, and storing them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class SongStore;

struct SongCopy {
  std::string id;
  std::string record;
  std::string text;    // without the final CR LF that WriteSongText adds
  bool saved = false;  // both the song list and the text file were written
};

// The copy's record: the new id, the new stamp, the title + " kopie", then every further field the old
// record has (a trailing TAB does not start a field), with the key (field 4) transposed by offset like
// the chords of the text, field 12 set to now and field 19 ("globalid") emptied. Every value is followed
// by a TAB.
std::string CopyRecord(std::string_view oldRecord, std::string_view newId, std::string_view stamp, long long now,
                       long long offset = 0);

// The copy's text: the lines joined with LF (the song file's final CR LF ends the last), chord lines transposed as the
// preview shows them (chords the table does not know stay as written).
std::string CopyText(const std::vector<std::string>& lines, long long offset);

// Copies the song of record (the one the main window shows) with its chords and key transposed by the
// transposition field's text: new id, the text written, then the record at the top of the song list and
// the list saved (SongStore::StoreSong: a copy whose list cannot be saved leaves no text behind). Nothing for an empty record. Putting the copy into a group is the caller's
// part.
std::optional<SongCopy> CopySong(SongStore& store, std::string_view record, std::string_view transposeOffset);

}  // namespace psalmora
