#include "songdb/song_field_columns.h"

#include <algorithm>
#include <cstring>

#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"

namespace psalmora {

const SongFieldColumns::Column& SongFieldColumns::ColumnOf(const SongStore& store, int field) {
  const auto found = std::find_if(columns_.begin(), columns_.end(), [&](const Column& c) { return c.field == field; });
  Column& column = found != columns_.end() ? *found : columns_.emplace_back();
  if (column.field == field && column.revision == store.ListRevision()) return column;

  column = Column{};
  column.field = field;
  column.revision = store.ListRevision();
  const std::vector<std::string>& list = store.SongList();
  column.starts.reserve(list.size());
  column.positions.reserve(list.size());
  for (std::size_t position = 0; position < list.size(); ++position) {
    const std::string& record = list[position];
    // The trash marker takes the id's place, so a deleted song is never part of a column.
    if (IsDeletedRecord(record)) continue;
    column.starts.push_back(column.text.size());
    column.positions.push_back(position);
    for (char c : RecordField(record, field)) column.text.push_back(LowerCaseCp1252(c));
    column.text.push_back('\n');
  }
  return column;
}

std::vector<std::size_t> SongFieldColumns::PositionsContaining(const SongStore& store, int field,
                                                               std::string_view lowerNeedle) {
  std::vector<std::size_t> positions;
  if (lowerNeedle.empty()) return positions;
  const Column& column = ColumnOf(store, field);
  const bool needleHoldsSeparator = lowerNeedle.find('\n') != std::string_view::npos;
  if (needleHoldsSeparator) return positions;  // no field value holds a line feed

  const char* const begin = column.text.data();
  const char* const end = begin + column.text.size();
  const char* from = begin;
  while (from < end) {
    const void* hit = memmem(from, static_cast<std::size_t>(end - from), lowerNeedle.data(), lowerNeedle.size());
    if (hit == nullptr) break;
    const std::size_t offset = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
    const auto value = std::upper_bound(column.starts.begin(), column.starts.end(), offset) - 1;
    const std::size_t index = static_cast<std::size_t>(value - column.starts.begin());
    positions.push_back(column.positions[index]);
    // One hit a song: go on after this value.
    from = index + 1 < column.starts.size() ? begin + column.starts[index + 1] : end;
  }
  return positions;
}

}  // namespace psalmora
