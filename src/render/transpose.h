// Transposition of chord segments by a number of semitones through the chord table.
#pragma once

#include <string>
#include <string_view>

#include "render/chord_table.h"

namespace psalmora {

// The segment to show for a chord segment at the offset written in offsetText (the transposition field's
// text, read as a leading number). Offset 0, segments of only spaces, "N.C." and marks without letters
// ("|", "%") come back unchanged; slash chords are transposed token by token; a token's root is the
// longest root name at its first letter; a lowercase first letter (a minor chord written small) stays
// lowercase; a German flat ("Es", "As") is written as a German flat again and an English one ("Bb", "Db")
// as an English one; a segment with no known root comes back as "(" + segment + "?)". "&nbsp;" in a
// segment counts as a space, so the padding the cell splitting adds never turns a known chord into an
// unknown one.
std::string TransposeChord(std::string_view segment, std::string_view offsetText,
                           const ChordTable& table = ChordTable::BuiltIn());

// The same with the offset as a number.
std::string TransposeChordBy(std::string_view segment, long long offset,
                             const ChordTable& table = ChordTable::BuiltIn());

// The song's key or chord sequence (song field 4, "Akkorde": "Es", "e-moll", "D A G A D (2x)") moved by
// offset, word by word: a word that is a root with nothing, a sign ("-Dur", "7", "/H") or a chord quality
// ("m", "maj", "dim", "aug", "sus", "add") after it is transposed as a chord; every other word ("Dur",
// "moll", "Capo", "(2x)") stays as written.
std::string TransposeKey(std::string_view key, long long offset, const ChordTable& table = ChordTable::BuiltIn());

// A whole chord line (">" first) transposed chord by chord, each chord kept at its column where the line
// allows it; a chord that grows pushes later chords right so at least one space stays between chords.
// Chords the table does not know are kept as written. Used where transposed chords are stored.
std::string TransposeChordLine(std::string_view chordLine, long long offset,
                               const ChordTable& table = ChordTable::BuiltIn());

}  // namespace psalmora
