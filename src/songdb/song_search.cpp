#include "songdb/song_search.h"

#include <algorithm>
#include <functional>

#include "core/language.h"
#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"

namespace psalmora {
namespace {

// A substring search prepared once for the lower-cased search text and reused for every song.
class LowerCaseFinder {
 public:
  explicit LowerCaseFinder(std::string needle)
      : needle_(std::move(needle)), searcher_(needle_.begin(), needle_.end()) {}

  bool FoundIn(std::string_view lowerText) const {
    if (needle_.empty() || lowerText.size() < needle_.size()) return false;
    return std::search(lowerText.begin(), lowerText.end(), searcher_) != lowerText.end();
  }

 private:
  std::string needle_;
  std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
};

bool FieldMatches(std::string_view value, std::string_view lowerSearch, const LowerCaseFinder& finder,
                  std::string& buffer) {
  if (lowerSearch == kSearchEmpty && value.empty()) return true;
  if (lowerSearch == kSearchAny && !value.empty()) return true;
  buffer.assign(value);
  for (char& c : buffer) c = LowerCaseCp1252(c);
  return finder.FoundIn(buffer);
}

std::vector<std::string_view> ActiveSongIds(const SongStore& store) {
  std::vector<std::string_view> ids;
  ids.reserve(store.SongList().size());
  for (const std::string& record : store.SongList()) {
    if (!IsDeletedRecord(record)) ids.push_back(RecordField(record, song_field::kId));
  }
  return ids;
}

}  // namespace

std::string LowerCaseCp1252(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerCaseCp1252(c);
  return lower;
}

std::vector<std::string> FieldChooserEntries() {
  std::vector<std::string> entries;
  for (const std::string& row : SongSchema()) entries.emplace_back(SchemaLabel(row));
  entries.emplace_back(kTextSearchEntry);
  return entries;
}

int FieldEntryOfLabel(std::string_view label) {
  const std::vector<std::string> entries = FieldChooserEntries();
  const auto found = std::find(entries.begin(), entries.end(), label);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

std::vector<SearchHit> SearchSongs(const SongStore& store, SongTextCache& cache, int fieldEntry,
                                   std::string_view searchText) {
  const std::vector<std::string> entries = FieldChooserEntries();
  const bool textSearch = fieldEntry >= 0 && static_cast<std::size_t>(fieldEntry) < entries.size() &&
                          entries[static_cast<std::size_t>(fieldEntry)] == kTextSearchEntry;
  const int field = fieldEntry < 0 ? 1 : fieldEntry + 1;
  const std::string lowerSearch = LowerCaseCp1252(searchText);
  const LowerCaseFinder finder(lowerSearch);

  std::vector<SearchHit> hits;
  if (textSearch) {
    if (lowerSearch.empty()) return hits;
    // The texts are searched in one pass over the cache's buffer; the hits keep the song list's order.
    const std::vector<std::string_view> ids = ActiveSongIds(store);
    cache.Preload(store, ids);
    const std::vector<char> matches = cache.Matches(store, ids, lowerSearch);
    std::size_t next = 0;
    for (const std::string& record : store.SongList()) {
      // The trash marker takes the id's place, so a deleted song can never be listed as a hit.
      if (IsDeletedRecord(record)) continue;
      if (matches[next++] != 0)
        hits.push_back({std::string(ids[next - 1]), std::string(RecordField(record, song_field::kTitle))});
    }
    return hits;
  }

  std::string buffer;
  for (const std::string& record : store.SongList()) {
    if (IsDeletedRecord(record)) continue;
    if (FieldMatches(RecordField(record, field), lowerSearch, finder, buffer)) {
      hits.push_back(
          {std::string(RecordField(record, song_field::kId)), std::string(RecordField(record, song_field::kTitle))});
    }
  }
  return hits;
}

std::string SearchStatusText(std::size_t hitCount, LanguageTable& language) {
  if (hitCount == 0) return language.Translate("Kein Lied gefunden!");
  if (hitCount == 1) return "1 " + language.Translate("Lied gefunden");
  return std::to_string(hitCount) + " " + language.Translate("Lieder gefunden");
}

}  // namespace psalmora
