#include "transfer/export_file.h"

#include <gtest/gtest.h>

#include <random>

#include "core/record_fields.h"

namespace psalmora {
namespace {

std::string Record16(const std::vector<std::string>& values) {
  std::string record;
  for (int i = 0; i < kExportedFields; ++i) {
    record += i < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(i)] : std::string();
    record += '\t';
  }
  return record;
}

TEST(ExportFileTest, OrdinarySongIsWrittenInThePlainFormat) {
  const std::string record =
      "17\t05.03.2018-14:07\tGro\xDF ist \\ Gott\tD A G\t2\t\t\t\t\t\t123\t99\t5\t1\x81R\t\t80\t1\t2\t3\t\t\t";
  const std::string line = BuildExportLine(record, "Zeile 1\r\n>D  A\r\nZeile 3\r\n", "");
  EXPECT_EQ(line,
            "17\t05.03.2018-14:07\tGro\xDF ist \\ Gott\tD A G\t2\t\t\t\t\t\t123\t99\t\t1\x81R\t\t80\t\x9D"
            "Zeile 1\\n>D  A\\nZeile 3\\n");
  EXPECT_EQ(CountOf(line.substr(0, line.find('\x9D')), '\t'), 16);
}

TEST(ExportFileTest, InlineChordSongsCarryTheirTextFormatButNotTheServicesId) {
  const std::string record = Record16({"1", "", "T"}) + "fav\tsync\tglobal\tG\t1\t";
  const ExportedSong song = ParseExportLine(BuildExportLine(record, "", ""));
  ASSERT_EQ(song.fields.size(), 21u);
  EXPECT_EQ(song.fields[16], "");
  EXPECT_EQ(song.fields[18], "");
  EXPECT_EQ(song.fields[19], "G");
  EXPECT_EQ(song.fields[20], "1");
}

TEST(ExportFileTest, ReaderFollowsThePlainFormatOfOtherWriters) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;
    std::string textFile;
  };
  const std::vector<Case> cases = {
      // "\n" becomes a line break, also where the text itself held the two characters.
      {"1\t\tA\t\x9Dx\\ny C:\\new\\n", {"1", "", "A"}, "x\r\ny C:\r\new\r\n"},
      // A last field without its TAB is dropped; no separator means an empty text.
      {"1\t\tA\tlost", {"1", "", "A"}, "\r\n"},
      // A record part without any TAB still gives the id field.
      {"\x9Dtext", {""}, "text\r\n"},
      // An unknown escape stays as it is.
      {"1\tB\\xZZ\t\x9D\\", {"1", "B\\xZZ"}, "\\\r\n"},
      // An escaped TAB or line end cannot get into a record field.
      {"1\ta\\x09b\\x0Dc\t\x9D", {"1", "a b c"}, "\r\n"},
  };
  for (const Case& c : cases) {
    const ExportedSong song = ParseExportLine(c.line);
    EXPECT_EQ(song.fields, c.fields) << c.line;
    EXPECT_EQ(song.textFile, c.textFile) << c.line;
  }
}

TEST(ExportFileTest, ReadsFilesOfEveryShift) {
  const std::string line = BuildExportLine(Record16({"3", "", "Titel"}), "a\r\nb\r\n", "", 1);
  for (int shift = 1; shift <= 255; ++shift) {
    const std::string plain = BuildExportLine(Record16({"3", "", "Titel"}), "a\r\nb\r\n", "", shift);
    const ExportFileContent content = ParseExportFile(BuildExportFile({plain, plain}, shift));
    ASSERT_EQ(content.status, ExportFileContent::Status::kOk) << shift;
    EXPECT_EQ(content.shift, shift);
    ASSERT_EQ(content.lines.size(), 2u) << shift;
    EXPECT_EQ(ExportLineTitle(content.lines[1]), "Titel") << shift;
    EXPECT_EQ(ParseExportLine(content.lines[0]).textFile, "a\r\nb\r\n") << shift;
  }
  EXPECT_FALSE(line.empty());
}

TEST(ExportFileTest, RejectsWhatIsNoExportFile) {
  const std::string magic = ScrambleLine(kExportMagic, kExportShift, ScrambleMode::kScramble);
  const std::vector<std::string> files = {"", "pmexport\r\nplain text\r\n", "pmexpo", magic + "x\r\n",
                                          "Hello world, this is a text file\n"};
  for (const std::string& file : files) {
    EXPECT_EQ(ParseExportFile(file).status, ExportFileContent::Status::kNotExportFile) << file;
  }
  const ExportFileContent onlyMagic = ParseExportFile(magic + "\r\n");
  EXPECT_EQ(onlyMagic.status, ExportFileContent::Status::kOk);
  EXPECT_TRUE(onlyMagic.lines.empty());
  EXPECT_EQ(ReadExportFile("/nonexistent/x.exp").status, ExportFileContent::Status::kCannotOpen);
}

// Every song comes back byte for byte: any bytes in the record fields (none holds TAB, CR or LF, as a
// record line cannot) and any bytes in the text, whatever they scramble to.
TEST(ExportFileTest, RoundTripKeepsEveryByte) {
  std::mt19937 random(20261207);
  auto randomBytes = [&random](std::size_t maxLength, bool recordField) {
    std::string bytes(random() % (maxLength + 1), '\0');
    for (char& c : bytes) {
      do {
        // Mostly the bytes the escapes are about, so they meet each other often.
        static const std::string kTricky = std::string("\\nx\r\n\t\x9D\x06\x10\x13\x00 AF", 15);
        c = random() % 2 ? kTricky[random() % kTricky.size()] : static_cast<char>(random() % 256);
      } while (recordField && (c == '\t' || c == '\r' || c == '\n'));
    }
    return bytes;
  };
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::string> values;
    for (int field = 1; field <= kExportedFields; ++field) {
      values.push_back(field == 13 ? std::string() : randomBytes(12, true));
    }
    const std::string text = randomBytes(60, false);
    const std::string textFile = text + "\r\n";
    // Other shifts too, as far as the escapes' own characters stay clear of line ends under them.
    int shift = kExportShift;
    if (round % 3 != 0) {
      do {
        shift = static_cast<int>(random() % 255) + 1;
      } while (ScrambleLine("\\xn0123456789ABCDEF\t\x9D", shift, ScrambleMode::kScramble)
                   .find_first_of(std::string("\r\n\0", 3)) != std::string::npos);
    }
    const std::string file = BuildExportFile({BuildExportLine(Record16(values), textFile, "", shift)}, shift);
    const ExportFileContent content = ParseExportFile(file);
    ASSERT_EQ(content.status, ExportFileContent::Status::kOk);
    ASSERT_EQ(content.lines.size(), 1u) << "shift " << shift;
    const ExportedSong song = ParseExportLine(content.lines[0]);
    ASSERT_EQ(song.fields, values) << "shift " << shift;
    ASSERT_EQ(song.textFile, textFile) << "shift " << shift;
  }
}

TEST(ExportFileTest, ScrambleLineWrapsAroundAndUndoes) {
  EXPECT_EQ(ScrambleLine("\xFF\x01", 2, ScrambleMode::kScramble), std::string("\x01\x03"));
  EXPECT_EQ(ScrambleLine("\x01\x03", 2, ScrambleMode::kUnscramble), std::string("\xFF\x01"));
}

TEST(ExportFileTest, SaveNameGetsTheExtensionOnlyWhenItHasNone) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/u/lieder", "/home/u/lieder.exp"},           {"/home/u/lieder.exp", "/home/u/lieder.exp"},
      {"/home/u/lieder.txt", "/home/u/lieder.txt"},       {"/home/u/lieder.", "/home/u/lieder..exp"},
      {"/home/u.name/lieder", "/home/u.name/lieder.exp"},
  };
  for (const auto& [chosen, expected] : cases) EXPECT_EQ(WithExportExtension(chosen), expected);
}

// Damaged files never crash the reader, and what it gives can always go into the store.
TEST(ExportFileFuzzTest, MutatedFilesReadSafely) {
  std::mt19937 random(7);
  std::vector<std::string> lines;
  for (int i = 0; i < 4; ++i) {
    lines.push_back(BuildExportLine(Record16({"1", "s", "T\\x41", "", "", "", "", "", "", "", "", "", "v|t"}),
                                    "a\\nb\r\nc\\x4\r\n", "addr|t|a|x"));
  }
  const std::string seed = BuildExportFile(lines);
  for (int round = 0; round < 4000; ++round) {
    std::string file = seed;
    const int mutations = static_cast<int>(random() % 8) + 1;
    for (int m = 0; m < mutations && !file.empty(); ++m) {
      const std::size_t at = random() % file.size();
      switch (random() % 4) {
        case 0:
          file[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          file.erase(at, random() % 16);
          break;
        case 2:
          file.insert(at, std::string(random() % 4 + 1, static_cast<char>(random() % 256)));
          break;
        default:
          file.resize(at);
          break;
      }
    }
    const ExportFileContent content = ParseExportFile(file);
    for (const std::string& line : content.lines) {
      const ExportedSong song = ParseExportLine(line);
      ASSERT_FALSE(song.fields.empty());
      for (const std::string& field : song.fields) ASSERT_EQ(field.find_first_of("\t\r\n"), std::string::npos);
      ASSERT_TRUE(song.textFile.ends_with("\r\n"));
      ASSERT_EQ(ExportLineTitle(line).find_first_of("\t\r\n"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace psalmora
