#include "songdb/song_search.h"

#include <algorithm>
#include <array>
#include <functional>

#include "core/language.h"
#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"

namespace psalmora {
namespace {

// LowerCaseCp1252 of every byte, looked up rather than computed in the inner loop.
const std::array<char, 256>& LowerCaseTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> made{};
    for (int byte = 0; byte < 256; ++byte)
      made[static_cast<std::size_t>(byte)] = LowerCaseCp1252(static_cast<char>(byte));
    return made;
  }();
  return table;
}

// Whether value, lower-cased, contains lowerNeedle, compared in place: a field is short, and copying it
// to lower-case it first cost more than the comparison.
bool ContainsLowerCased(std::string_view value, std::string_view lowerNeedle) {
  const std::size_t length = lowerNeedle.size();
  if (length == 0 || value.size() < length) return false;
  const std::array<char, 256>& lower = LowerCaseTable();
  const auto at = [&](std::size_t i) { return lower[static_cast<unsigned char>(value[i])]; };
  for (std::size_t i = 0; i + length <= value.size(); ++i) {
    if (at(i) != lowerNeedle[0]) continue;
    std::size_t k = 1;
    while (k < length && at(i + k) == lowerNeedle[k]) ++k;
    if (k == length) return true;
  }
  return false;
}

// Field 1 (the id or the trash marker) and field k of a record, in one walk over the TABs; a field
// beyond the end of the line is empty.
struct RecordFields {
  std::string_view first;
  std::string_view wanted;
};
RecordFields FirstAndField(std::string_view record, int field) {
  RecordFields fields;
  std::size_t start = 0;
  for (int index = 1;; ++index) {
    std::size_t end = start;
    while (end < record.size() && record[end] != '\t') ++end;
    const std::string_view value = record.substr(start, end - start);
    if (index == 1) fields.first = value;
    if (index >= field) {
      fields.wanted = value;
      break;
    }
    if (end == record.size()) break;
    start = end + 1;
  }
  return fields;
}

bool FieldMatches(std::string_view value, std::string_view lowerSearch) {
  if (lowerSearch == kSearchEmpty && value.empty()) return true;
  if (lowerSearch == kSearchAny && !value.empty()) return true;
  return ContainsLowerCased(value, lowerSearch);
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

  std::vector<SearchHit> hits;
  if (textSearch) {
    if (lowerSearch.empty()) return hits;
    // The texts are searched in one pass over the cache's buffer; the hits keep the song list's order.
    const std::vector<std::string_view> ids = ActiveSongIds(store);
    cache.Preload(store, ids);
    const std::vector<char> matches = cache.Matches(store, ids, lowerSearch);
    hits.reserve(static_cast<std::size_t>(std::count(matches.begin(), matches.end(), 1)));
    std::size_t next = 0;
    for (const std::string& record : store.SongList()) {
      // The trash marker takes the id's place, so a deleted song can never be listed as a hit.
      if (IsDeletedRecord(record)) continue;
      if (matches[next++] != 0)
        hits.push_back({std::string(ids[next - 1]), std::string(RecordField(record, song_field::kTitle))});
    }
    return hits;
  }

  if (lowerSearch != kSearchEmpty && lowerSearch != kSearchAny) {
    const std::vector<std::string>& list = store.SongList();
    for (const std::size_t position : cache.FieldColumns().PositionsContaining(store, field, lowerSearch)) {
      const std::string& record = list[position];
      hits.push_back({std::string(RecordField(record, song_field::kId)), std::string(RecordField(record, song_field::kTitle))});
    }
    return hits;
  }
  for (const std::string& record : store.SongList()) {
    const RecordFields fields = FirstAndField(record, field);
    // The trash marker takes the id's place, so a deleted song can never be listed as a hit.
    if (fields.first == kDeletedMarker) continue;
    if (FieldMatches(fields.wanted, lowerSearch)) {
      hits.push_back({std::string(fields.first), std::string(RecordField(record, song_field::kTitle))});
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
