#include "transfer/file_import.h"

#include <gtest/gtest.h>

#include <random>

#include "core/record_fields.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr long long kNow = 1520258820;

AssignmentRule Rule(RuleSource source, std::string separator = "", int part = 0) {
  AssignmentRule rule;
  rule.assigned = true;
  rule.source = source;
  rule.split = !separator.empty();
  rule.separator = std::move(separator);
  rule.part = part;
  return rule;
}

TEST(FileImportTest, ChordLinesAreLinesOfMoreThanHalfSpaces) {
  struct Case {
    std::string line;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"   C G", ">  C G"},  // three spaces of five characters
      {"C  G", "C  G"},      // exactly half
      {"", ""},
      {"     ", ">    "},
      {"Am   ", ">Am  "},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanImportLines({c.line}).front(), c.expected) << '"' << c.line << '"';
  EXPECT_EQ(ConvertChordLine("G  D"), ">G D");
  EXPECT_EQ(ConvertChordLine("GD"), ">GD");
}

TEST(FileImportTest, EmptyLinesTouchingASeparatorLineGo) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(CleanImportLines({"a", "", "", "-", "", "b", "", "c", "-"}), (Lines{"a", "-", "b", "", "c", "-"}));
  EXPECT_EQ(CleanImportLines({"", "-", "", "-", ""}), (Lines{"-", "-"}));
  EXPECT_EQ(CleanImportLines({"a", "", "b"}), (Lines{"a", "", "b"}));
}

struct SongCase {
  std::string name;
  std::string fileName;
  std::string bytes;
  std::vector<std::pair<std::size_t, AssignmentRule>> rules;
  std::vector<std::pair<int, std::string>> fields;  // record field -> value
  std::string text;
};

TEST(FileImportTest, RulesFillFieldsAndTakeTheirLinesOutOfTheText) {
  const std::vector<SongCase> cases = {
      {"no rule keeps every line", "a.txt", "Eins\r\nZwei\r\n", {}, {{3, ""}, {21, ""}}, "Eins\rZwei"},
      {"first line shared by two rules",
       "a.txt",
       "Titel / Autor\nZeile\n",
       {{0, Rule(RuleSource::kFirstLine)}, {5, Rule(RuleSource::kFirstLine, "/", 2)}},
       {{3, "Titel / Autor"}, {8, "Autor"}},
       "Zeile"},
      {"one line for first and last", "a.txt", "Nur", {{0, Rule(RuleSource::kFirstLine)}, {5, Rule(RuleSource::kLastLine)}},
       {{3, "Nur"}, {8, "Nur"}}, ""},
      {"file name before the first dot", "Gross.ist.txt", "x", {{0, Rule(RuleSource::kFileName)}}, {{3, "Gross"}}, "x"},
      {"empty file", "leer.txt", "", {{0, Rule(RuleSource::kFirstLine)}}, {{3, ""}}, ""},
      {"TAB in a line", "a.txt", "A\tB\nC", {{0, Rule(RuleSource::kFirstLine)}}, {{3, "A B"}, {4, ""}}, "C"},
      {"last line used, chord line kept", "a.txt", "    G  D\rText\rCopy", {{18, Rule(RuleSource::kLastLine)}},
       {{21, "Copy"}}, ">   G  D\rText"},
  };
  for (const SongCase& c : cases) {
    AssignmentRules rules;
    for (const auto& [index, rule] : c.rules) rules[index] = rule;
    const PreparedSong song = PrepareFileSong(c.fileName, c.bytes, rules, kNow);
    const std::string record = "7" + song.recordAfterId;
    EXPECT_EQ(CountOf(record, '\t'), 20) << c.name;
    EXPECT_EQ(RecordField(record, 2), FormatTimestamp(kNow)) << c.name;
    for (const auto& [field, value] : c.fields) EXPECT_EQ(RecordField(record, field), value) << c.name;
    EXPECT_EQ(song.textFile, c.text + "\r\n") << c.name;
  }
}

TEST(FileImportTest, PresentationTextBecomesSlidesSeparatedByDashLines) {
  EXPECT_EQ(PresentationTextFile("A\rB#Seitenwechsel#C"), "A\rB\r-\rC\r\n");
  const PreparedSong song = PrepareFileSong("p.dat", PresentationTextFile("A\r#Seitenwechsel#C\r"), {}, kNow);
  EXPECT_EQ(song.textFile, "A\r-\rC\r\r\n");
  EXPECT_EQ(ConversionFileFor("/d", "/x/Lied.neu.pptx"), std::filesystem::path("/d/convert/Lied.dat"));
}

TEST(FileImportTest, ReadableFilesBecomeSongsInOrderAndUnreadableOnesAddNone) {
  TempDir dir;
  std::filesystem::create_directories(dir / "daten");
  SongStore store(DataFiles::For(dir / "daten"));
  store.LoadSongList();
  WriteFileBytes(dir / "Erstes.txt", "Eins\r\nText");
  WriteFileBytes(dir / "Zweites.txt", "Zwei");
  WriteFileBytes(dir / "gross.txt", "");
  std::filesystem::resize_file(dir / "gross.txt", kMaxImportFileBytes + 1);
  AssignmentRules rules;
  rules[0] = Rule(RuleSource::kFileName);
  // A missing file, a folder and a file too big for a song add no song.
  const FileImport result = ImportTextFiles(
      store, {dir / "Erstes.txt", dir / "fehlt.txt", dir / "Zweites.txt", dir / "daten", dir / "gross.txt"}, rules, kNow);
  ASSERT_TRUE(result.stored.saved);
  ASSERT_EQ(result.files.size(), 5u);
  EXPECT_FALSE(result.files[3].readable);
  EXPECT_FALSE(result.files[4].readable);
  EXPECT_EQ(result.files[0].id, "1");
  EXPECT_FALSE(result.files[1].readable);
  EXPECT_EQ(result.files[1].id, "");
  EXPECT_EQ(result.files[2].id, "2");
  ASSERT_EQ(store.SongList().size(), 2u);
  EXPECT_EQ(RecordField(store.SongList()[0], 3), "Zweites");
  EXPECT_EQ(ReadFileBytes(dir / "daten" / "1.dat"), "Eins\rText\r\n");
}

// Random lines of spaces, dashes and line ends: the clean-up and the rules never fail and every record
// keeps its 21 fields.
TEST(FileImportTest, RandomFilesGiveWholeRecords) {
  std::mt19937 random(7122026);
  static constexpr std::string_view kAlphabet = "  -\r\n\tab|.";
  AssignmentRules rules;
  rules[0] = Rule(RuleSource::kFirstLine, "-", 2);
  rules[1] = Rule(RuleSource::kLastLine, " ", 3);
  rules[2] = Rule(RuleSource::kFileName, ".", 1);
  for (int iteration = 0; iteration < 3000; ++iteration) {
    std::string bytes(random() % 40, ' ');
    for (char& c : bytes) c = kAlphabet[random() % kAlphabet.size()];
    const PreparedSong song = PrepareFileSong(bytes.substr(0, 8), bytes, rules, kNow);
    ASSERT_TRUE(song.textFile.ends_with("\r\n"));
    ASSERT_EQ(CountOf(song.recordAfterId, '\t'), 20) << bytes;
  }
}

}  // namespace
}  // namespace psalmora
