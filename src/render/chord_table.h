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

  // The table every rendering uses: H Ces Cb; B Ais Hb A# Bb; A; G# Gis As Ab; G; F# Fis Ges Gb; F;
  // E Fes Fb; D# Dis Eb Es; D; C# Cis Des Db; C.
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
