#include "support/data_folder_generator.h"

#include <array>
#include <fstream>

#include "core/text_lines.h"

namespace psalmora::bench {
namespace {

// Word pools in Windows-1252 (umlauts as bytes).
constexpr std::array<const char*, 24> kTitleWords = {"Herr",
                                                     "Gnade",
                                                     "Licht",
                                                     "K\xF6nig",
                                                     "Frieden",
                                                     "Jesus",
                                                     "Lob",
                                                     "Ehre",
                                                     "Halleluja",
                                                     "Hoffnung",
                                                     "Gr\xF6\xDF"
                                                     "e",
                                                     "Liebe",
                                                     "Vater",
                                                     "Himmel",
                                                     "Treue",
                                                     "Segen",
                                                     "Freude",
                                                     "Kraft",
                                                     "Sch\xF6pfer",
                                                     "Br\xFC"
                                                     "der",
                                                     "Heil",
                                                     "Wunder",
                                                     "St\xE4rke",
                                                     "G\xFC"
                                                     "te"};
constexpr std::array<const char*, 8> kTitleStarts = {"Du bist ",
                                                     "Wir loben ",
                                                     "Gro\xDF ist ",
                                                     "Ich singe ",
                                                     "Komm, ",
                                                     "Dank sei ",
                                                     "\xDC"
                                                     "ber allem ",
                                                     "Mein "};
constexpr std::array<const char*, 12> kChords = {"C", "G",  "Am", "F",   "D",     "Em",
                                                 "A", "E7", "Hm", "G/H", "Dsus4", "C#m"};
constexpr std::array<const char*, 20> kLyricWords = {"wir",
                                                     "dich",
                                                     "preisen",
                                                     "ewig",
                                                     "f\xFC"
                                                     "r",
                                                     "immer",
                                                     "in",
                                                     "deiner",
                                                     "N\xE4he",
                                                     "Herr",
                                                     "bist",
                                                     "treu",
                                                     "und",
                                                     "gut",
                                                     "heilig",
                                                     "Gott",
                                                     "unser",
                                                     "Retter",
                                                     "gro\xDF",
                                                     "singen"};

template <std::size_t N>
const char* Pick(const std::array<const char*, N>& pool, std::mt19937& random) {
  return pool[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

int Between(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

std::string Title(std::mt19937& random) {
  std::string title = Pick(kTitleStarts, random);
  title += Pick(kTitleWords, random);
  if (Between(random, 0, 2) == 0) title += std::string(" und ") + Pick(kTitleWords, random);
  return title;
}

std::string Record(int id, std::mt19937& random) {
  const long long created = 1'500'000'000LL + id * 3600LL;
  std::array<std::string, 21> fields;
  fields[0] = std::to_string(id);
  fields[1] = "05.03.2018-14:07";
  fields[2] = Title(random);
  fields[3] = "D A G A D (2x)";
  fields[4] = std::to_string(Between(random, 0, 12));
  fields[5] = Between(random, 0, 3) == 0 ? "Bemerkung zum Lied" : "";
  fields[6] = "Text und Musik: M. M\xFCller";
  fields[7] = "\xA9 2010 Beispielverlag";
  fields[8] = "Psalm " + std::to_string(Between(random, 1, 150));
  fields[10] = std::to_string(Between(random, 100000, 7999999));
  fields[11] = std::to_string(created);
  fields[13] = "Strophe 1\x81Refrain\x81Strophe 2\x81Refrain";
  fields[15] = std::to_string(Between(random, 60, 140));
  std::string record;
  for (const std::string& field : fields) record.append(field).push_back('\t');
  return record;
}

std::string ChordLine(std::mt19937& random) {
  std::string line = ">";
  for (int i = Between(random, 2, 5); i > 0; --i) line.append(Pick(kChords, random)).append(Between(random, 2, 8), ' ');
  return line;
}

std::string LyricLine(std::mt19937& random) {
  std::string line;
  for (int i = Between(random, 4, 9); i > 0; --i) {
    if (!line.empty()) line.push_back(' ');
    line += Pick(kLyricWords, random);
  }
  return line;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::vector<std::string> GenerateSongRecords(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> records;
  records.reserve(static_cast<std::size_t>(count));
  for (int id = count; id >= 1; --id) {
    std::string record = Record(id, random);
    if (Between(random, 0, 49) == 0) record = "#gel\xF6scht#\t" + record;
    records.push_back(std::move(record));
  }
  return records;
}

std::string GenerateSongText(std::mt19937& random) {
  std::vector<std::string> lines;
  const int target = Between(random, 30, 60);
  while (static_cast<int>(lines.size()) < target) {
    lines.push_back(ChordLine(random));
    lines.push_back(LyricLine(random));
    const int kind = Between(random, 0, 9);
    if (kind == 0) lines.push_back("#Lord we praise you forever");
    if (kind == 1) lines.push_back(";Wiederholung ab hier");
    if (kind == 2) lines.push_back(" ");
  }
  lines.resize(static_cast<std::size_t>(target));
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kLineEnd;
    text += lines[i];
  }
  return text;
}

GeneratedFolder GenerateDataFolder(const std::filesystem::path& folder, int songCount, unsigned seed, bool withTexts) {
  std::filesystem::create_directories(folder);
  GeneratedFolder generated;
  generated.folder = folder;
  generated.records = GenerateSongRecords(songCount, seed);
  generated.highestId = std::to_string(1);  // the last line of the index holds id 1
  WriteBytes(folder / "lieder.dat", JoinLinesCrLf(generated.records));
  WriteBytes(folder / "id.dat", std::to_string(songCount) + std::string(kLineEnd));

  std::mt19937 random(seed + 1);
  std::vector<std::string> selections;
  std::vector<std::string> groups;
  for (int i = 0; i < 40; ++i) {
    std::string ids;
    for (int n = Between(random, 3, 12); n > 0; --n) ids += "|" + std::to_string(Between(random, 1, songCount));
    selections.push_back("Gottesdienst " + std::to_string(i + 1) + "\t" + ids + "\t\t\t1600000000\t\t\t\t");
    const std::string poolId = i % 4 == 0 ? std::to_string(i + 1) : "";
    groups.push_back(std::string(Pick(kTitleWords, random)) + "\t" + poolId + ids + "\t\t\t\t\t\t\t");
  }
  WriteBytes(folder / "auswahl.dat", JoinLinesCrLf(selections));
  WriteBytes(folder / "gruppierung.dat", JoinLinesCrLf(groups));

  if (withTexts) {
    for (int id = 1; id <= songCount; ++id) {
      WriteBytes(folder / (std::to_string(id) + ".dat"), GenerateSongText(random) + std::string(kLineEnd));
    }
  }
  return generated;
}

}  // namespace psalmora::bench
