// The web song search and the taking over of a song page: the search addresses of the two song sites,
// and the reading of a downloaded chord-sheet page into a new song (artist and title, the chord sheet
// from its "<pre>" blocks, chord lines in the program's markup).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "transfer/song_import.h"

namespace psalmora {

enum class SearchSite { UltimateGuitar, Google };
enum class SearchField { Title, Artist };

// The search request on siteBase (the site's base address from the settings). The term is sent
// percent-encoded as UTF-8: typed unencoded, "Rock & Roll" would search for "Rock " only.
std::string WebSearchUrl(std::string_view siteBase, SearchSite site, SearchField field, std::string_view term);

// What a page gives for a new song (Windows-1252 texts).
struct PageSong {
  std::string artist;
  std::string title;
  std::vector<std::string> lines;  // the chord sheet, chord lines converted
};

// Reads a page line by line. The old page form names artist and title in "tf_artist" and "tf_songtitle"
// lines and keeps the chord sheet in "<pre>" blocks; a page with neither of those lines gives its
// <title> as the title and its largest <pre> block as the sheet. Tags and TABs are removed, the common
// character references are resolved, and lines of more than half spaces become chord lines.
// page: the bytes as downloaded (UTF-8 is converted; anything else is taken as Windows-1252).
PageSong ReadSongPage(std::string_view page);

// True when the page gave a chord sheet (a line that is not blank); a song without one is not stored.
bool HasSongText(const PageSong& song);

// The new song's record without its id (a TAB, then fields 2 to 12: "Erstellt am", title, three empty, artist as
// "Text u. Musik", four empty, the change time; no TAB after the last) and its text (each line followed
// by CR).
PreparedSong PreparePageSong(const PageSong& song, long long now);

}  // namespace psalmora
