// Builds realistic data folders for the benchmarks: a song index of many songs with German titles and
// umlauts, song texts of 30-60 lines with chord lines, selections and groups.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace psalmora::bench {

// Song records in store order (newest first), 21 fields each followed by a TAB; about one in fifty is
// in the trash. Windows-1252.
std::vector<std::string> GenerateSongRecords(int count, unsigned seed);

// One song text: verses of chord lines over lyrics, some translation and comment lines, CR LF lines.
std::string GenerateSongText(std::mt19937& random);

struct GeneratedFolder {
  std::filesystem::path folder;
  std::vector<std::string> records;
  std::string highestId;  // the id a worst-case lookup searches for (the last record)
};

// Writes "lieder.dat", "id.dat", "auswahl.dat", "gruppierung.dat" and, when withTexts is set, one text
// file per song into folder (created when missing).
GeneratedFolder GenerateDataFolder(const std::filesystem::path& folder, int songCount, unsigned seed, bool withTexts);

}  // namespace psalmora::bench
