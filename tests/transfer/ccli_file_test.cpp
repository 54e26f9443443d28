#include "transfer/ccli_file.h"

#include <gtest/gtest.h>

#include <random>

namespace psalmora {
namespace {

const std::string kUsrUtf8 =
    "[File]\r\nType=SongSelect Import File\r\nVersion=3.0\r\n[S A12345]\r\nTitle=Gro\xC3\x9F ist \xC3\x84rger\r\n"
    "Author=Anna B\xC3\xB6hm | Carl \xC5\x81uk\r\nCopyright=2001 Musik\r\nThemes=Lob/tAnbetung\r\nKeys=G\r\n"
    "Fields=Verse 1/tChorus\r\nWords=a/nb/tc/nd/t\r\n";

TEST(CcliFileTest, UsrFilesReadInEveryEncodingAndLineEnd) {
  auto utf16 = [](std::string_view utf8Ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : utf8Ascii) {
      out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
  };
  std::string lfOnly = kUsrUtf8;
  std::erase(lfOnly, '\r');
  std::string cp1252 = "[S A12345]\r\nTitle=Gro\xDF ist \xC4rger\r\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"UTF-8 without mark", kUsrUtf8},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + kUsrUtf8},
      {"LF only", lfOnly},
      {"blank lines before the section, other case, blanks",
       "\r\n\r\n[s a12345]\r\n  TITLE = Gro\xC3\x9F ist \xC3\x84rger\r\n"},
      {"Windows-1252", cp1252},
      {"section without A", "[S 12345]\nTitle=Gro\xDF ist \xC4rger\n"},
  };
  for (const auto& [name, bytes] : cases) {
    const CcliReading reading = ReadCcliBytes(bytes);
    ASSERT_EQ(reading.problem, CcliProblem::kNone) << name;
    EXPECT_EQ(reading.song.number, "12345") << name;
    EXPECT_EQ(reading.song.title, "Gro\xDF ist \xC4rger") << name;
  }
  const CcliReading le = ReadCcliBytes(utf16("[S A7]\r\nTitle=Hi\r\nWords=x/ny\r\n", false));
  const CcliReading be = ReadCcliBytes(utf16("[S A7]\r\nTitle=Hi\r\nWords=x/ny\r\n", true));
  for (const CcliReading* reading : {&le, &be}) {
    ASSERT_EQ(reading->problem, CcliProblem::kNone);
    EXPECT_EQ(reading->song.title, "Hi");
    EXPECT_EQ(reading->song.lyrics, "x\ry");
  }
}

TEST(CcliFileTest, UsrValuesBecomeTheSong) {
  const CcliSong song = ReadCcliBytes(kUsrUtf8).song;
  EXPECT_EQ(song.author, "Anna B\xF6hm | Carl &#321;uk");  // what Windows-1252 lacks stays as a reference
  EXPECT_EQ(song.copyright, "2001 Musik");
  EXPECT_EQ(song.keys, "G");
  EXPECT_EQ(song.themes, (std::vector<std::string>{"Lob", "Anbetung"}));
  // Two sections of two lines: four lines, the section's last line ends with "-", the last "/t" dropped.
  EXPECT_EQ(song.lyrics, "a\rb-\rc\rd");
}

TEST(CcliFileTest, LyricsDropOnlyATrailingSectionMark) {
  EXPECT_EQ(CcliLyrics("a/nb/t"), "a\rb");
  EXPECT_EQ(CcliLyrics("a/nbc"), "a\rbc");  // no "/t" at the end: nothing is cut off
  EXPECT_EQ(CcliLyrics(""), "");
}

TEST(CcliFileTest, FilesWithoutASongAreRecognised) {
  EXPECT_EQ(ReadCcliBytes("[File]\r\nTitle=x\r\n").problem, CcliProblem::kNoSong);
  EXPECT_EQ(ReadCcliBytes("").problem, CcliProblem::kNoSong);
  EXPECT_EQ(ReadCcliBytes(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)).problem, CcliProblem::kNotText);
}

TEST(CcliFileTest, FirstPickLineMatchingAnyThemeGivesTheCategory) {
  const std::string pick = "0\tAllgemein\r\n3\tAnbetung\r\n5\tLob\r\n";
  EXPECT_EQ(CategoryForThemes(pick, {"Weihnachten", "Lob"}), "5");
  EXPECT_EQ(CategoryForThemes(pick, {"Lob", "Anbetung"}), "3");
  EXPECT_EQ(CategoryForThemes(pick, {"lob"}), "0");
  EXPECT_EQ(CategoryForThemes("", {"Lob"}), "0");
}

TEST(CcliFileTest, LicenceServiceTextGivesTheSameSong) {
  const std::string text =
      "\xEF\xBB\xBF"
      "Gro\xC3\x9F ist der Herr\r\n\r\nVerse 1\r\na\r\nb\r\n\r\nChorus\r\nc\r\nTag und Nacht\r\n\r\n"
      "CCLI Song # 7654321\r\nAnna B\xC3\xB6hm | Carl Berg\r\n\xC2\xA9 2011 Musik Verlag\r\n"
      "For use solely with the SongSelect\xC2\xAE Terms of Use. All rights reserved. www.ccli.com\r\n"
      "CCLI License # 11111\r\n";
  const CcliReading reading = ReadCcliBytes(text);
  ASSERT_EQ(reading.problem, CcliProblem::kNone);
  EXPECT_EQ(reading.song.title, "Gro\xDF ist der Herr");
  EXPECT_EQ(reading.song.number, "7654321");
  EXPECT_EQ(reading.song.author, "Anna B\xF6hm | Carl Berg");
  EXPECT_EQ(reading.song.copyright, "2011 Musik Verlag");
  EXPECT_EQ(reading.song.lyrics, "a\rb-\rc\rTag und Nacht");
}

constexpr char kUtf16Seed[] =
    "\xFF\xFE[\0S\0 \0A\0"
    "1\0]\0\r\0\n\0W\0=\0a\0/\0t\0";

// Damaged files of both kinds never crash the readers.
TEST(CcliFileFuzzTest, MutatedFilesReadSafely) {
  const std::vector<std::string> seeds = {kUsrUtf8, std::string(kUtf16Seed, sizeof(kUtf16Seed) - 1),
                                          "Titel\r\n\r\nVerse 1\r\nx\r\n\r\nCCLI Song # 1\r\nA\r\n\xA9 c\r\n"};
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = seeds[static_cast<std::size_t>(round) % seeds.size()];
    const int mutations = static_cast<int>(random() % 6) + 1;
    for (int m = 0; m < mutations && !bytes.empty(); ++m) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0:
          bytes[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          bytes.erase(at, random() % 8);
          break;
        case 2:
          bytes.insert(at, std::string(random() % 3 + 1, "/tn[]=\r\n\xC3\xD8\xDC"[random() % 11]));
          break;
        default:
          bytes.resize(at);
          break;
      }
    }
    const CcliReading reading = ReadCcliBytes(bytes);
    if (reading.problem == CcliProblem::kNone) {
      for (const std::string* value : {&reading.song.title, &reading.song.author, &reading.song.copyright,
                                       &reading.song.keys, &reading.song.number}) {
        ASSERT_EQ(value->find_first_of("\t\r\n"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace psalmora
