#include "core/language.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

constexpr std::string_view kSample =
    "Papierkorb\tPapierkorb\tRecycle bin\tPapelera\tCestino\r\n"
    "Hilfe\tHilfe\tHelp\r\n"
    "NeuesLied\tNeues Lied\t\r\n"
    "Hilfe\tzweite Hilfe\tsecond help\r\n"
    "\r\n"
    "Gr\xF6\xDF"
    "e\tGr\xF6\xDF"
    "e\tSize\r\n"
    "Letzte\tzuletzt\tlast";  // no line end after the last line

std::filesystem::path ProgramFile(std::string_view relative) {
  return std::filesystem::path(PSALMORA_SOURCE_DIR) / "data" / relative;
}

TEST(Translate, FirstExactMatchInTheChosenLanguage) {
  LanguageTable table;
  table.LoadFromText(kSample, kEnglish);
  EXPECT_EQ(table.size(), 7u);  // every line counts, the empty one and the unterminated last one too
  EXPECT_EQ(table.Translate("Papierkorb"), "Recycle bin");
  EXPECT_EQ(table.Translate("Hilfe"), "Help");       // the first of two equal keys wins
  EXPECT_EQ(table.Translate("hilfe"), "not found");  // case matters
  EXPECT_EQ(table.Translate("Letzte"), "last");
  EXPECT_EQ(table.Translate("Gr\xF6\xDF"
                            "e"),
            "Size");

  table.LoadFromText(kSample, kItalian);
  EXPECT_EQ(table.Translate("Papierkorb"), "Cestino");
  table.LoadFromText(kSample, kGerman);
  EXPECT_EQ(table.Translate("NeuesLied"), "Neues Lied");
}

TEST(Translate, EmptyTranslationIsPatchedToKeyWithParentheses) {
  LanguageTable table;
  table.LoadFromText(kSample, kEnglish);
  EXPECT_EQ(table.Translate("NeuesLied"), "NeuesLied()");
  EXPECT_EQ(table.Translate("NeuesLied"), "NeuesLied()");  // stays patched, no "()()"
  EXPECT_EQ(table.Translate(""), "()");                    // the empty line is a pair too
  table.LoadFromText(kSample, kSpanish);                   // a missing field reads as empty
  EXPECT_EQ(table.Translate("Hilfe"), "Hilfe()");
  EXPECT_EQ(table.Translate("Papierkorb"), "Papelera");
  table.LoadFromText(kSample, 9);
  EXPECT_EQ(table.Translate("Papierkorb"), "Papierkorb()");
}

TEST(Translate, Utf8CallersGetUtf8) {
  LanguageTable table;
  table.LoadFromText(kSample, kGerman);
  EXPECT_EQ(table.TranslateUtf8("Größe"), "Größe");
  EXPECT_EQ(table.TranslateUtf8("Papierkorb"), "Papierkorb");
}

TEST(LanguageLoad, UnreadableFileLeavesTheTableAsItWas) {
  TempDir dir;
  LanguageTable table;
  EXPECT_FALSE(table.Load(dir / "missing.spr", kGerman));
  EXPECT_EQ(table.size(), 0u);
  EXPECT_EQ(table.Translate("Papierkorb"), "not found");

  WriteFileBytes(dir / "sprachen.spr", std::string(kSample));
  ASSERT_TRUE(table.Load(dir / "sprachen.spr", kEnglish));
  std::filesystem::create_directory(dir / "folder.spr");
  EXPECT_FALSE(table.Load(dir / "folder.spr", kGerman));
  EXPECT_EQ(table.Translate("Papierkorb"), "Recycle bin");
}

TEST(LanguageLoad, GarbageFileLoadsWithoutHarm) {
  TempDir dir;
  std::string bytes = std::string("\0\xFF\t\x01\r\r\n\n", 8) + std::string(10 * 1024 * 1024, '\t') + "\r\n";
  bytes += std::string(10 * 1024 * 1024, 'k') + "\tvalue\r\nPapierkorb\tPK\r\n";
  WriteFileBytes(dir / "sprachen.spr", bytes);
  LanguageTable table;
  ASSERT_TRUE(table.Load(dir / "sprachen.spr", kGerman));
  EXPECT_EQ(table.Translate("Papierkorb"), "PK");
  EXPECT_EQ(table.Translate(std::string(10 * 1024 * 1024, 'k')), "value");
}

TEST(ShippedLanguageFile, HasTheMainKeysInGermanAndEnglish) {
  LanguageTable table;
  ASSERT_TRUE(table.Load(ProgramFile(kLanguageFileName), kGerman));
  EXPECT_EQ(table.Translate("Papierkorb"), "Papierkorb");
  EXPECT_EQ(table.Translate("Liederv"), "Liederverwaltung");
  EXPECT_EQ(table.Translate("Pr\xE4sentation"), "Pr\xE4sentation");
  EXPECT_EQ(table.TranslateUtf8("Fußzeile einblenden"), "Fußzeile einblenden");
  EXPECT_EQ(table.Translate("Error"), "Fehler");

  ASSERT_TRUE(table.Load(ProgramFile(kLanguageFileName), kEnglish));
  EXPECT_EQ(table.Translate("Papierkorb"), "Recycle bin");
  EXPECT_EQ(table.Translate("NeuesLied"), "New song");
  EXPECT_EQ(table.TranslateUtf8("Übersetzung"), "Translation");
  EXPECT_EQ(table.Translate("Keine Auswahl getroffen!"), "Nothing selected!");
}

}  // namespace
}  // namespace psalmora
