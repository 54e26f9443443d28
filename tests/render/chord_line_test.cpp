#include "render/chord_line.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

using Strings = std::vector<std::string>;

TEST(NormaliseChordLineTest, ChordRightAfterTheMarkerMovesToColumnOne) {
  EXPECT_EQ(NormaliseChordLine(">A  kk     o"), "A   kk     o");
  EXPECT_EQ(NormaliseChordLine(">  D"), "   D");
  EXPECT_EQ(NormaliseChordLine(">Am"), "Am");  // no space to double: one shorter
  EXPECT_EQ(NormaliseChordLine(">A>B C"), "A B  C");
}

TEST(NormaliseChordLineTest, OnlyMarkerAndSpacesIsIgnored) {
  EXPECT_FALSE(NormaliseChordLine(">").has_value());
  EXPECT_FALSE(NormaliseChordLine(">     ").has_value());
}

TEST(SplitChordLineTest, SampleLineGivesDocumentedColumns) {
  const std::optional<ChordSplit> split = SplitRawChordLine(">A  kk     o  r     d    e");
  ASSERT_TRUE(split.has_value());
  EXPECT_EQ(split->columns, (std::vector<int>{5, 12, 15, 21, 26}));
  EXPECT_EQ(split->segments, (Strings{"A   ", "kk     ", "o  ", "r     ", "d    ", "e"}));
}

TEST(SplitChordLineTest, LastSegmentSpacesBecomeNbsp) {
  const ChordSplit split = *SplitRawChordLine(">  D   A  ");
  EXPECT_EQ(split.columns, (std::vector<int>{4, 8}));
  EXPECT_EQ(split.segments, (Strings{"   ", "D   ", "A&nbsp;&nbsp;"}));
}

TEST(SplitChordLineTest, SingleChordInColumnOneIsTheWholeLine) {
  const ChordSplit split = *SplitRawChordLine(">G7 ");
  EXPECT_TRUE(split.columns.empty());
  EXPECT_EQ(split.segments, (Strings{"G7  "}));  // the first space doubled by normalising
}

TEST(SplitTextLineTest, SampleLineCells) {
  ChordSplit split = *SplitRawChordLine(">A  kk     o  r     d    e");
  const Strings text = SplitTextLine("Liedtext steht hier, Halleluja!!", split.columns, split.segments);
  EXPECT_EQ(text, (Strings{"Lied", "text&nbsp;st", "eht", "&nbsp;hier,", "&nbsp;Hall", "eluja!!"}));
  EXPECT_EQ(split.segments.front(), "A   ");
}

TEST(SplitTextLineTest, ShortTextPadsChordsOverMissingText) {
  ChordSplit split = *SplitRawChordLine(">  D   A   G");
  const Strings text = SplitTextLine("Hi", split.columns, split.segments);
  // Columns 4, 8, 12: "Hi" fills only the first cell.
  EXPECT_EQ(text, (Strings{"Hi", "", "", ""}));
  EXPECT_EQ(split.segments[0], "   ");  // its text is not empty
  EXPECT_EQ(split.segments[1], "D   &nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
  EXPECT_EQ(split.segments[2], "A   &nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
  EXPECT_EQ(split.segments[3], "G");  // the last chord still shows, in the last cell
}

TEST(SplitTextLineTest, NoColumnsKeepsTheLineUnchanged) {
  Strings chords{"G7 "};
  EXPECT_EQ(SplitTextLine("a b", {}, chords), (Strings{"a b"}));
  EXPECT_EQ(chords, (Strings{"G7 "}));
}

// A character outside Windows-1252 is stored as a numeric reference; it is one column wide and a cell
// boundary never falls inside it, in the chord line as in the text line.
TEST(SplitTextLineTest, NumericReferencesAreOneColumn) {
  struct Case {
    std::string_view chordLine;
    std::string_view textLine;
    std::vector<int> columns;
    Strings chords;
    Strings text;
  };
  const Case cases[] = {
      // "Więc śpiewaj", the chord over the "ś"
      {">    D", "Wi&#281;c &#347;piewaj", {6}, {"     ", "D"}, {"Wi&#281;c&nbsp;", "&#347;piewaj"}},
      {">    D", "Wi&#x119;c &#x15B;piewaj", {6}, {"     ", "D"}, {"Wi&#x119;c&nbsp;", "&#x15B;piewaj"}},
      // "Боже мой"
      {">  G  Am",
       "&#1041;&#1086;&#1078;&#1077; &#1084;&#1086;&#1081;",
       {4, 7},
       {"   ", "G  ", "Am"},
       {"&#1041;&#1086;&#1078;", "&#1077;&nbsp;&#1084;", "&#1086;&#1081;"}},
      // a reference in the chord line itself
      {">  &#1040;m  G", "Hallo Welt!", {4, 8}, {"   ", "&#1040;m  ", "G"}, {"Hal", "lo&nbsp;W", "elt!"}},
      // a chord over missing text is padded by its columns, not its bytes
      {">  &#1040; D", "Hi", {4, 6}, {"   ", "&#1040; &nbsp;&nbsp;&nbsp;", "D"}, {"Hi", "", ""}},
  };
  for (const Case& c : cases) {
    ChordSplit split = *SplitRawChordLine(c.chordLine);
    EXPECT_EQ(split.columns, c.columns) << c.chordLine;
    const Strings text = SplitTextLine(c.textLine, split.columns, split.segments);
    EXPECT_EQ(split.segments, c.chords) << c.chordLine;
    EXPECT_EQ(text, c.text) << c.textLine;
  }
}

}  // namespace
}  // namespace psalmora
