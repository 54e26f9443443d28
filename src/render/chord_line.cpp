#include "render/chord_line.h"

#include <algorithm>

#include "render/text_columns.h"

namespace psalmora {
namespace {

std::string SpacesAsNbsp(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == ' ') {
      out += "&nbsp;";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> NormaliseChordLine(std::string_view chordLine) {
  const std::size_t last = chordLine.find_last_not_of(' ');
  if (last == std::string_view::npos || last == 0) return std::nullopt;
  std::string line(chordLine);
  if (line.size() > 1 && line[1] != ' ') {
    line.erase(0, 1);
    const std::size_t space = line.find(' ');
    if (space != std::string::npos) line.insert(space, 1, ' ');
  }
  std::replace(line.begin(), line.end(), '>', ' ');
  return line;
}

ChordSplit SplitChordLine(std::string_view line, std::size_t scanLength) {
  ChordSplit split;
  std::size_t pos = 0;
  bool afterSpace = true;
  for (std::size_t column = 1; column <= scanLength && pos < line.size(); ++column) {
    const bool space = line[pos] == ' ';
    if (!space && afterSpace) split.columns.push_back(static_cast<int>(column));
    afterSpace = space;
    pos += CharacterLength(line, pos);
  }
  if (!split.columns.empty() && split.columns.front() == 1) split.columns.erase(split.columns.begin());
  if (split.columns.empty()) {
    split.segments.emplace_back(line);
    return split;
  }
  std::size_t from = 1;
  for (const int column : split.columns) {
    split.segments.emplace_back(ColumnRange(line, from, static_cast<std::size_t>(column)));
    from = static_cast<std::size_t>(column);
  }
  split.segments.push_back(SpacesAsNbsp(ColumnRange(line, from, std::string_view::npos)));
  return split;
}

std::optional<ChordSplit> SplitRawChordLine(std::string_view chordLine) {
  const std::optional<std::string> normalised = NormaliseChordLine(chordLine);
  if (!normalised) return std::nullopt;
  return SplitChordLine(*normalised, ColumnCount(chordLine));
}

std::vector<std::string> SplitTextLine(std::string_view textLine, const std::vector<int>& columns,
                                       std::vector<std::string>& chordSegments) {
  if (columns.empty()) return {std::string(textLine)};
  std::vector<std::string> segments;
  segments.reserve(columns.size() + 1);
  std::size_t from = 1;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const auto to = static_cast<std::size_t>(columns[i]);
    segments.push_back(SpacesAsNbsp(ColumnRange(textLine, from, to)));
    if (segments.back().empty() && i < chordSegments.size()) {
      std::string& chord = chordSegments[i];
      const std::size_t padding = ColumnCount(chord) + 1;
      chord.reserve(chord.size() + padding * 6);
      for (std::size_t k = 0; k < padding; ++k) chord += "&nbsp;";
    }
    from = to;
  }
  segments.push_back(SpacesAsNbsp(ColumnRange(textLine, from, std::string_view::npos)));
  return segments;
}

}  // namespace psalmora
