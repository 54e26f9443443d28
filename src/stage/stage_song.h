// A song as the stage view shows it: blocks (the beamer's slides) of lines, each line with chords cut
// into cells over their syllables, the way the preview cuts them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

struct StageCell {
  std::string chord;  // the chord segment as the song text has it (Windows-1252, blanks trimmed)
  std::string text;   // the syllables under it, UTF-8, spaces as U+00A0 so a page keeps them
};

enum class StageLineKind { kText, kChords, kTranslation, kBlank };

struct StageLine {
  StageLineKind kind = StageLineKind::kText;
  std::string text;              // kText, kTranslation: UTF-8
  std::vector<StageCell> cells;  // kChords: a text line with the chord line above it
};

struct StageSong {
  std::string id;
  std::string title, tempo;    // UTF-8
  std::string key;             // song field "Akkorde" as written (Windows-1252), moved on output
  std::vector<std::string> order;  // the song order's parts, UTF-8
  // One entry per block as the beamer's paging counts them (block n is slide n); a block may be empty.
  std::vector<std::vector<StageLine>> blocks;
};

// The song of record with its text lines (every line, as LoadSongLines gives them in `all`).
StageSong BuildStageSong(std::string_view record, std::vector<std::string> lines);

}  // namespace psalmora
