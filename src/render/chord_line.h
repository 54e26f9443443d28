// Cutting a chord line and the text line below it into cells that line up column by column.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// A chord line cut at the columns where chords start (1-based, over the normalised line).
struct ChordSplit {
  std::vector<int> columns;           // chord starts, without a chord in column 1
  std::vector<std::string> segments;  // columns.size() + 1 pieces
};

// The chord line made ready for output: a chord written right after ">" moves to column 1 (the first
// space doubles so later chords keep their columns) and every ">" becomes a space. Nothing for a line
// that is only ">" and spaces.
std::optional<std::string> NormaliseChordLine(std::string_view chordLine);

// Cuts a normalised chord line. Columns count characters, a numeric character reference ("&#322;") being
// one, and a cut never falls inside one. scanLength is the number of columns the line had before
// normalising (chords past the normalised end cannot start there, so it only matters for lines without a
// space). In the last segment spaces become "&nbsp;"; the other segments keep theirs.
ChordSplit SplitChordLine(std::string_view normalisedLine, std::size_t scanLength);

// Normalises and cuts a raw chord line (">" first); nothing when the line is ignored.
std::optional<ChordSplit> SplitRawChordLine(std::string_view chordLine);

// Cuts the text line below at the same columns, spaces as "&nbsp;". A chord over missing text (its text
// segment is empty) gets "&nbsp;" appended (its column count + 1) times so chords over nothing do not
// touch.
std::vector<std::string> SplitTextLine(std::string_view textLine, const std::vector<int>& columns,
                                       std::vector<std::string>& chordSegments);

}  // namespace psalmora
