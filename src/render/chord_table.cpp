#include "render/chord_table.h"

#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

// After the name transposition writes, each row lists the other spellings it reads: the German sharps
// ("Fis"), the German flats ("Es", "As", "Des", "Ges", the rare "Ces" and "Fes"; "B" itself is one) and
// the English flats ("Bb", "Eb", "Ab", "Db", "Gb", "Cb", "Fb", and "Hb").
constexpr std::string_view kChordTableText =
    "H\tCes\tCb\r\n"
    "B\tAis\tHb\tA#\tBb\r\n"
    "A\r\n"
    "G#\tGis\tAs\tAb\r\n"
    "G\r\n"
    "F#\tFis\tGes\tGb\r\n"
    "F\r\n"
    "E\tFes\tFb\r\n"
    "D#\tDis\tEb\tEs\r\n"
    "D\r\n"
    "C#\tCis\tDes\tDb\r\n"
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
