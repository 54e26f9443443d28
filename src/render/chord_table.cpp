#include "render/chord_table.h"

#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

constexpr std::string_view kChordTableText =
    "H\r\n"
    "B\tAis\tHb\tA#\r\n"
    "A\r\n"
    "G#\tGis\r\n"
    "G\r\n"
    "F#\tFis\r\n"
    "F\r\n"
    "E\r\n"
    "D#\tDis\tEb\r\n"
    "D\r\n"
    "C#\tCis\r\n"
    "C";

}  // namespace

ChordTable::ChordTable(std::string_view text) {
  for (const std::string& row : SplitLines(text)) {
    std::vector<std::string> names;
    for (std::string& name : SplitAt(row, '\t')) {
      if (!name.empty()) names.push_back(std::move(name));
    }
    // A row without a name could never be found nor written; it would only shift the semitones.
    if (!names.empty()) names_.push_back(std::move(names));
  }
}

const ChordTable& ChordTable::BuiltIn() {
  static const ChordTable table(kChordTableText);
  return table;
}

std::vector<std::string> ChordTable::Rows() const {
  std::vector<std::string> rows;
  rows.reserve(names_.size());
  for (const auto& names : names_) {
    std::string row;
    for (const std::string& name : names) {
      if (!row.empty()) row += '\t';
      row += name;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace psalmora
