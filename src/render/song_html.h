// The song text of a page ("$text1"): chord cells over their syllables, translations, comments, blocks,
// slide markers and the two-column break.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

struct SongTextOptions {
  bool chordsShown = true;
  bool lyricsShown = true;
  bool translationShown = true;
  bool commentsShown = false;
  bool slideMarkers = false;  // yellow "Folie n" markers (the preview with paging on)
  bool twoColumns = false;    // the first half of the blocks in a left column (the preview)
  long long transposeOffset = 0;
  // Song lines are plain text: "<" is written as "&lt;", so a line cannot add elements or scripts to the
  // page. Off for the free text and the header text, which are the page text the user types on the spot.
  bool plainText = true;
};

// text with every "<" written as "&lt;" (entities such as "&copy;" keep working).
std::string PlainTextHtml(std::string_view text);

// Appends the song text table, every item on a line of its own ending in CR LF.
void WriteSongTextHtml(std::string& out, std::vector<std::string> lines, const SongTextOptions& options);

}  // namespace psalmora
