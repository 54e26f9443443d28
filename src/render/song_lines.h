// Song text lines: their kinds, loading a song's text for rendering, and the inline chord form.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// What a song text line is, by its first character.
enum class SongLineKind {
  kChord,        // ">": chords for the next text line
  kTranslation,  // "#"
  kComment,      // ";"
  kSeparator,    // "-": ends a block (slide)
  kEmpty,        // "": becomes a separator before most renderings
  kBlank,        // only spaces: one empty line, no new slide
  kText,         // lyrics
};

SongLineKind ClassifySongLine(std::string_view line);

// The two line lists of a rendering: what will be written (may be cut down to one slide) and every line
// (kept for choosing a slide).
struct SongLines {
  std::vector<std::string> render;
  std::vector<std::string> all;
};

// Reads the song's text file into both lists; with inlineForm each line is expanded first. An empty id or
// a file that cannot be read gives empty lists.
SongLines LoadSongLines(const std::filesystem::path& dataFolder, std::string_view id, bool inlineForm);

// The lines of a song text already in memory, handled the same way.
SongLines SongLinesFromText(std::string_view text, bool inlineForm);

// One line of inline form ("Hallo [D]Welt") in column form: a chord line (">" first) when the line held a
// "[", then the text line. "{key:value}" puts the value into the text.
std::vector<std::string> ExpandInlineChords(std::string_view line);

// Whether a record's "textformatierung" field marks its text as inline form.
bool IsInlineForm(std::string_view record);

// The sample text the layout preview shows (lines joined with a single CR), Windows-1252.
std::string_view LayoutSampleText();

}  // namespace psalmora
