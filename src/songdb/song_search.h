// The song search of the search page: the byte lower-casing, the entries of the field chooser, and the
// walk over the song list that yields the hits in list order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class LanguageTable;
class SongStore;
class SongTextCache;

// The entry of the field chooser that searches the song texts instead of a record field.
inline constexpr std::string_view kTextSearchEntry = "Liedtext";
// The entry chosen when the chooser is filled ("Titel").
inline constexpr int kDefaultSearchEntry = 2;
// Search texts with a meaning of their own in field searches.
inline constexpr std::string_view kSearchEmpty = "$leer$";
inline constexpr std::string_view kSearchAny = "*";

// The lower-casing of both sides of every comparison: "A"-"Z" and 0xC0-0xDE are raised by 32, every
// other byte stays ("ß" too). In Windows-1252 this pairs the umlauts without folding accents.
inline char LowerCaseCp1252(char c) {
  const auto byte = static_cast<unsigned char>(c);
  const bool upper = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE);
  return upper ? static_cast<char>(byte + 32) : c;
}
std::string LowerCaseCp1252(std::string_view text);

// The chooser's entries, untranslated: the label of every song schema row in order, then "Liedtext".
// Entry k searches record field k + 1.
std::vector<std::string> FieldChooserEntries();
// The entry whose text equals label exactly (Windows-1252), or -1.
int FieldEntryOfLabel(std::string_view label);

struct SearchHit {
  std::string id;
  std::string title;
};

// The songs of the store that match searchText (Windows-1252, as typed) in the chooser entry
// fieldEntry (-1 when none is chosen: field 1), in song list order. Songs in the trash never match.
// The "Liedtext" entry reads the song texts through cache.
std::vector<SearchHit> SearchSongs(const SongStore& store, SongTextCache& cache, int fieldEntry,
                                   std::string_view searchText);

// The status line under the hits: "Kein Lied gefunden!" or the count and "Lieder gefunden", translated.
std::string SearchStatusText(std::size_t hitCount, LanguageTable& language);

}  // namespace psalmora
