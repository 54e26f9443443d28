// One record field of every active song, lower-cased and laid end to end in one buffer: a field search
// then is one substring search over that buffer instead of a walk over twenty thousand records. Built
// on the first search of a field and kept while the song list is unchanged (its ListRevision).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class SongStore;

class SongFieldColumns {
 public:
  // The list positions of the active songs whose field (1-based) contains lowerNeedle, in list order.
  // lowerNeedle must be lower-cased already (LowerCaseCp1252) and not empty.
  std::vector<std::size_t> PositionsContaining(const SongStore& store, int field, std::string_view lowerNeedle);

 private:
  struct Column {
    int field = 0;
    std::uint64_t revision = 0;
    // Every value followed by a line feed, which no field of a line-based record can hold, so a match
    // never runs from one value into the next.
    std::string text;
    std::vector<std::size_t> starts;     // where each value begins in text
    std::vector<std::size_t> positions;  // the song list position of each value
  };
  const Column& ColumnOf(const SongStore& store, int field);

  std::vector<Column> columns_;
};

}  // namespace psalmora
