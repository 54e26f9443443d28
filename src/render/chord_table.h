// The table of chord root names used by transposition: twelve rows, one per semitone, highest first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class ChordTable {
 public:
  static constexpr int kRowCount = 12;

  // Rows separated by CR LF (or CR, or LF), root names within a row separated by TAB.
  explicit ChordTable(std::string_view text);

  // The table every rendering uses: H; B Ais Hb A#; A; G# Gis; G; F# Fis; F; E; D# Dis Eb; D; C# Cis; C.
  static const ChordTable& BuiltIn();

  int RowCount() const { return static_cast<int>(names_.size()); }
  // Root names of a row in lookup order; the first one is the name transposition writes.
  const std::vector<std::string>& Names(int row) const { return names_.at(static_cast<std::size_t>(row)); }
  const std::string& WrittenName(int row) const { return Names(row).front(); }
  // The rows as the program keeps them: names joined with TAB.
  std::vector<std::string> Rows() const;

 private:
  std::vector<std::vector<std::string>> names_;
};

}  // namespace psalmora
