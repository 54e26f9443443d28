#include "core/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(IniFileParse, ReadsGroupsAndKeysWithoutRegardToCase) {
  const IniFile ini = IniFile::Parse(
      "\xEF\xBB\xBF[Layouts]\r\nvorschau=3\r\nFU\xDFZEILE = 7 \r\n[sonstiges]\nAutoOpen=0\rscrollweite=\r\n");
  EXPECT_EQ(ini.Value("layouts", "VORSCHAU"), "3");
  EXPECT_EQ(ini.Value("Layouts", "fu\xDFzeile"), "7");  // blanks around key and value are trimmed
  EXPECT_EQ(ini.Value("SONSTIGES", "autoopen"), "0");
  EXPECT_EQ(ini.Value("sonstiges", "scrollweite"), "");  // present but empty is not missing
  EXPECT_FALSE(ini.Value("sonstiges", "vorschau").has_value());
  EXPECT_EQ(ini.ValueOr("sonstiges", "missing", "fallback"), "fallback");
  EXPECT_TRUE(ini.HasGroup("LAYOUTS"));
  EXPECT_FALSE(ini.HasGroup("dateitypen"));
}

TEST(IniFileParse, FoldsWindows1252Letters) {
  EXPECT_TRUE(SameIniName("\xC4nderung", "\xE4NDERUNG"));  // Änderung / äNDERUNG
  EXPECT_TRUE(SameIniName("\x8A", "\x9A"));                // Š / š
  EXPECT_FALSE(SameIniName("\xD7", "\xF7"));               // × and ÷ are not letters
  EXPECT_FALSE(
      SameIniName("stra\xDF"
                  "e",
                  "strasse"));
}

TEST(IniFileParse, FirstOccurrenceWins) {
  const IniFile ini = IniFile::Parse("[a]\nk=1\nk=2\n[b]\nk=3\n[A]\nk=4\nonly=5\n");
  EXPECT_EQ(ini.Value("a", "k"), "1");
  EXPECT_EQ(ini.Value("b", "k"), "3");
  EXPECT_EQ(ini.Value("a", "only"), "5");  // a repeated group still counts
}

TEST(IniFileParse, NumbersUseTheLeadingNumberParse) {
  const IniFile ini = IniFile::Parse("[g]\na=42px\nb=abc\nc=-1\nd=99999999999999\ne=\n");
  EXPECT_EQ(ini.IntOr("g", "a", 7), 42);
  EXPECT_EQ(ini.IntOr("g", "b", 7), 0);
  EXPECT_EQ(ini.IntOr("g", "c", 7), -1);
  EXPECT_EQ(ini.IntOr("g", "d", 7), 2147483647);  // clamped, not wrapped
  EXPECT_EQ(ini.IntOr("g", "e", 7), 0);
  EXPECT_EQ(ini.IntOr("g", "missing", 7), 7);
}

TEST(IniFileParse, GarbageAndBinaryLinesAreIgnored) {
  std::string bytes = "junk line\r\n[g\r\n=novalue\r\n";
  bytes += std::string("\0\x01\xFF[\0]=\x80", 8) + "\r\n";
  bytes += "[g]\r\n" + std::string(10 * 1024 * 1024, 'x') + "\r\nkey=value\r\n";
  bytes += "[g]x=1\r\n";  // text after the closing bracket does not make a key
  const IniFile ini = IniFile::Parse(bytes);
  EXPECT_EQ(ini.Value("g", "key"), "value");
  EXPECT_FALSE(ini.Value("", "").has_value());
  EXPECT_FALSE(ini.Value("g", "x").has_value());
}

TEST(IniFileParse, AHugeValueSurvives) {
  const std::string big(10 * 1024 * 1024, 'v');
  const IniFile ini = IniFile::Parse("[g]\r\nk=" + big + "\r\n");
  EXPECT_EQ(ini.Value("g", "k")->size(), big.size());
}

TEST(IniFileLoad, MissingFileAndFolderGiveAnEmptyFile) {
  TempDir dir;
  EXPECT_FALSE(IniFile::Load(dir / "missing.ini").HasGroup("g"));
  EXPECT_FALSE(IniFile::Load(dir.path()).Value("g", "k").has_value());
}

TEST(SetSettingKeys, ReplacesInPlaceAndKeepsEveryOtherLine) {
  const std::string before = "; note\r\n[Layouts]\r\nVorschau=1\r\ngarbage\r\n\r\n[sonstiges]\r\nuseridcb=77\r\n";
  EXPECT_EQ(SetSettingKeysInText(before, {{"layouts", "vorschau", "5"}}),
            "; note\r\n[Layouts]\r\nvorschau=5\r\ngarbage\r\n\r\n[sonstiges]\r\nuseridcb=77\r\n");
}

TEST(SetSettingKeys, AddsMissingKeyAfterTheLastKeyOfItsGroup) {
  const std::string before = "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n";
  EXPECT_EQ(SetSettingKeysInText(before, {{"a", "z", "3"}}), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n");
  EXPECT_EQ(SetSettingKeysInText("[a]\r\n[b]\r\n", {{"a", "z", "3"}}), "[a]\r\nz=3\r\n[b]\r\n");
  EXPECT_EQ(SetSettingKeysInText("top=1\r\n[a]\r\n", {{"", "k", "v"}}), "top=1\r\nk=v\r\n[a]\r\n");
}

TEST(SetSettingKeys, AddsMissingGroupAtTheEnd) {
  EXPECT_EQ(SetSettingKeysInText("", {{"g", "k", "v"}, {"g", "k2", "w"}, {"h", "k", "x"}}),
            "[g]\r\nk=v\r\nk2=w\r\n[h]\r\nk=x\r\n");
  EXPECT_EQ(SetSettingKeysInText("[a]\nx=1", {{"b", "k", "v"}}), "[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
}

TEST(SetSettingKeys, WritesWhereTheReaderLooks) {
  // A repeated group: the key lives in the second section; writing must change what a reader sees.
  const std::string after = SetSettingKeysInText("[a]\r\nx=1\r\n[b]\r\n[A]\r\nk=old\r\n", {{"a", "k", "new"}});
  EXPECT_EQ(IniFile::Parse(after).Value("a", "k"), "new");
  EXPECT_EQ(after, "[a]\r\nx=1\r\n[b]\r\n[A]\r\nk=new\r\n");
}

TEST(SetSettingKeys, KeepsTheByteOrderMarkAndDropsLineBreaksInValues) {
  const std::string after = SetSettingKeysInText("\xEF\xBB\xBF[g]\r\nk=1\r\n", {{"g", "k", "a\r\nb=c\nd"}});
  EXPECT_EQ(after, "\xEF\xBB\xBF[g]\r\nk=ab=cd\r\n");
  EXPECT_EQ(IniFile::Parse(after).Value("g", "k"), "ab=cd");
}

TEST(WriteSettingKey, CreatesTheFileAndUpdatesItAtomically) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  ASSERT_TRUE(WriteSettingKey("voreinstellung", "vor", "0", file));
  EXPECT_EQ(ReadFileBytes(file), "[voreinstellung]\r\nvor=0\r\n");
  ASSERT_TRUE(WriteSettingKey("sonstiges", "useridcb", "12", file));
  ASSERT_TRUE(WriteSettingKey("voreinstellung", "vor", "3", file));
  EXPECT_EQ(ReadFileBytes(file), "[voreinstellung]\r\nvor=3\r\n[sonstiges]\r\nuseridcb=12\r\n");
}

TEST(WriteSettingKey, FailuresAreReportedAndNothingIsLost) {
  TempDir dir;
  EXPECT_FALSE(WriteSettingKey("g", "k", "v", dir / "no-such-folder" / "x.ini"));
  // A folder in the file's place cannot be read, so it is not replaced.
  std::filesystem::create_directory(dir / "blocked.ini");
  const WriteResult result = WriteSettingKey("g", "k", "v", dir / "blocked.ini");
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.ini"));
  // An empty key would write a line no reader finds.
  WriteFileBytes(dir / "ok.ini", "[g]\r\nk=1\r\n");
  EXPECT_FALSE(WriteSettingKeys(dir / "ok.ini", {{"g", "", "v"}}));
  EXPECT_EQ(ReadFileBytes(dir / "ok.ini"), "[g]\r\nk=1\r\n");
}

}  // namespace
}  // namespace psalmora
