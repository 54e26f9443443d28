#include "render/song_lines.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;
using Lines = std::vector<std::string>;

TEST(ClassifySongLineTest, FirstCharacterDecides) {
  EXPECT_EQ(ClassifySongLine(">A"), SongLineKind::kChord);
  EXPECT_EQ(ClassifySongLine("#x"), SongLineKind::kTranslation);
  EXPECT_EQ(ClassifySongLine(";x"), SongLineKind::kComment);
  EXPECT_EQ(ClassifySongLine("-x"), SongLineKind::kSeparator);
  EXPECT_EQ(ClassifySongLine(""), SongLineKind::kEmpty);
  EXPECT_EQ(ClassifySongLine("   "), SongLineKind::kBlank);
  EXPECT_EQ(ClassifySongLine(" >x"), SongLineKind::kText);
}

TEST(ExpandInlineChordsTest, ChordStandsOverItsSyllable) {
  EXPECT_EQ(ExpandInlineChords("Hallo [D]Welt"), (Lines{">     D   ", "Hallo Welt"}));
}

TEST(ExpandInlineChordsTest, ANumericReferenceIsOneLyricCharacter) {
  struct Case {
    std::string_view line;
    Lines expanded;
  };
  const Case cases[] = {
      {"[D]Wi&#281;c [G]&#347;piewaj", {">D   G      ", "Wi&#281;c &#347;piewaj"}},
      {"&#1041;&#1086;&#1078;&#1077; [Am]&#1084;&#1086;&#1081;",
       {">    Am ", "&#1041;&#1086;&#1078;&#1077; &#1084;&#1086;&#1081;"}},
      {"[&#1040;m]x y", {">&#1040;m", "x y"}},
      {"{k:&#322;} [D]x", {">D", "&#322; x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandInlineChords(c.line), c.expanded) << c.line;
}

TEST(ExpandInlineChordsTest, LineWithoutChordsIsOnlyText) {
  EXPECT_EQ(ExpandInlineChords("Hallo Welt"), (Lines{"Hallo Welt"}));
  EXPECT_EQ(ExpandInlineChords(""), (Lines{""}));
}

TEST(ExpandInlineChordsTest, ChordAtTheStartAndLongChordsRunTogether) {
  EXPECT_EQ(ExpandInlineChords("[G]Da"), (Lines{">G", "Da"}));
  // "Gsus4" is longer than "a" before the next chord: the chords touch.
  EXPECT_EQ(ExpandInlineChords("[Gsus4]a[D]b"), (Lines{">Gsus4D", "ab"}));
  EXPECT_EQ(ExpandInlineChords("x[Am]yy[C]z"), (Lines{">AmC", "xyyz"}));
}

TEST(ExpandInlineChordsTest, BracesInsertTheirValue) {
  EXPECT_EQ(ExpandInlineChords("{part:Refrain}"), (Lines{"Refrain"}));
  EXPECT_EQ(ExpandInlineChords("{a:b:c}x"), (Lines{"bx"}));
  EXPECT_EQ(ExpandInlineChords("{plain}x"), (Lines{"plainx"}));
  // The inserted value adds no chord columns.
  EXPECT_EQ(ExpandInlineChords("{k:V} [D]x"), (Lines{">D", "V x"}));
}

TEST(ExpandInlineChordsTest, UnbalancedMarksJustLeaveTheFlagsSet) {
  EXPECT_EQ(ExpandInlineChords("ab[C"), (Lines{"> C", "ab"}));
  EXPECT_EQ(ExpandInlineChords("ab{c"), (Lines{"ab"}));
}

TEST(LoadSongLinesTest, ReadsBothListsAndExpandsInlineForm) {
  TempDir dir;
  WriteFileBytes(dir / "7.dat", "Hallo [D]Welt\r\n#x\r\n\r\n");
  const SongLines plain = LoadSongLines(dir.path(), "7", false);
  EXPECT_EQ(plain.render, (Lines{"Hallo [D]Welt", "#x", ""}));
  EXPECT_EQ(plain.all, plain.render);
  const SongLines expanded = LoadSongLines(dir.path(), "7", true);
  EXPECT_EQ(expanded.render, (Lines{">     D   ", "Hallo Welt", "#x", ""}));
}

TEST(LoadSongLinesTest, MissingFileEmptyIdAndForeignIdsGiveNothing) {
  TempDir dir;
  WriteFileBytes(dir / "secret.dat", "x\r\n");
  EXPECT_TRUE(LoadSongLines(dir.path(), "9", false).render.empty());
  EXPECT_TRUE(LoadSongLines(dir.path(), "", false).render.empty());
  EXPECT_TRUE(LoadSongLines(dir.path(), "secret", false).render.empty());
  EXPECT_TRUE(LoadSongLines(dir.path(), "../9", false).render.empty());
}

TEST(IsInlineFormTest, ReadsField21) {
  std::string record;
  for (int i = 1; i <= 20; ++i) record += "f\t";
  EXPECT_FALSE(IsInlineForm(record));
  EXPECT_TRUE(IsInlineForm(record + "1\t"));
  EXPECT_FALSE(IsInlineForm(record + "0\t"));
}

TEST(LayoutSampleTextTest, EightLinesJoinedWithCr) {
  const std::string_view sample = LayoutSampleText();
  EXPECT_EQ(std::count(sample.begin(), sample.end(), '\r'), 7);
  EXPECT_TRUE(sample.starts_with(">A  kk     o  r     d    e\rLiedtext steht hier, Halleluja!!\r"));
  EXPECT_TRUE(sample.ends_with("\r \r;Hier ein Komentar"));
}

}  // namespace
}  // namespace psalmora
