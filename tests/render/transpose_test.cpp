#include "render/transpose.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(TransposeChordTest, DocumentedExamplesWithOffsetTwo) {
  EXPECT_EQ(TransposeChord("Am7", "2"), "Hm7");
  EXPECT_EQ(TransposeChord("fis", "2"), "g#");
  EXPECT_EQ(TransposeChord("D/F#", "2"), "E/G#");
  EXPECT_EQ(TransposeChord("Eb", "2"), "F");
  EXPECT_EQ(TransposeChord("x", "2"), "(x?)");
  EXPECT_EQ(TransposeChord("a/E", "2"), "h/F#");
}

TEST(TransposeChordTest, PositiveOffsetMovesUpThroughGermanNames) {
  EXPECT_EQ(TransposeChord("A", "1"), "B");
  EXPECT_EQ(TransposeChord("H", "1"), "C");
  EXPECT_EQ(TransposeChord("C", "-1"), "H");
  EXPECT_EQ(TransposeChord("B", "-1"), "A");
}

TEST(TransposeChordTest, RowOrderSettlesOverlappingNames) {
  EXPECT_EQ(TransposeChord("Fis", "1"), "G");  // not "F" + "is"
  EXPECT_EQ(TransposeChord("Ais", "1"), "H");  // not "A" + "is"
  EXPECT_EQ(TransposeChord("Dis", "1"), "E");
  EXPECT_EQ(TransposeChord("D#m", "1"), "Em");
  EXPECT_EQ(TransposeChord("Gis7", "-1"), "G7");
  EXPECT_EQ(TransposeChord("Cis", "2"), "D#");
}

TEST(TransposeChordTest, LowercaseBRuleSkipsOneLetterNames) {
  EXPECT_EQ(TransposeChord("Hb", "1"), "H");
  EXPECT_EQ(TransposeChord("Eb7", "-1"), "D7");
  // "Bb" is not in the table and "B" is skipped because of the lowercase b.
  EXPECT_EQ(TransposeChord("Bb", "1"), "(Bb?)");
  EXPECT_EQ(TransposeChord("Bb", "-5"), "(Bb?)");
  EXPECT_EQ(TransposeChord("Bb", "0"), "Bb");
}

TEST(TransposeChordTest, MinorWrittenTokensKeepTheirLowercaseLetter) {
  EXPECT_EQ(TransposeChord("e", "1"), "f");
  EXPECT_EQ(TransposeChord("h7", "1"), "c7");
  EXPECT_EQ(TransposeChord("cis", "-1"), "c");
  EXPECT_EQ(TransposeChord("e/g", "2"), "f#/a");
}

TEST(TransposeChordTest, SlashChordsAndUnknownTokens) {
  EXPECT_EQ(TransposeChord("G/H", "1"), "G#/C");
  EXPECT_EQ(TransposeChord("D/x", "2"), "E");   // an unknown token is left out
  EXPECT_EQ(TransposeChord("x/D", "2"), "/E");  // the slash belongs to the second token
  EXPECT_EQ(TransposeChord("x/y", "2"), "(x/y?)");
  EXPECT_EQ(TransposeChord("A/A", "2"), "H/H");
}

TEST(TransposeChordTest, EveryOccurrenceOfTheRootIsReplaced) {
  EXPECT_EQ(TransposeChord("Asus4 A", "2"), "Hsus4 H");
}

TEST(TransposeChordTest, OffsetZeroAndSpacesComeBackUnchanged) {
  EXPECT_EQ(TransposeChord("x", "0"), "x");
  EXPECT_EQ(TransposeChord("x", ""), "x");
  EXPECT_EQ(TransposeChord("x", "abc"), "x");
  EXPECT_EQ(TransposeChord("   ", "3"), "   ");
  EXPECT_EQ(TransposeChord("", "3"), "");
  EXPECT_EQ(TransposeChord("&nbsp;&nbsp;", "3"), "&nbsp;&nbsp;");
}

TEST(TransposeChordTest, OffsetsBeyondAnOctaveWrapAround) {
  EXPECT_EQ(TransposeChord("C", "12"), "C");
  EXPECT_EQ(TransposeChord("C", "-12"), "C");
  EXPECT_EQ(TransposeChord("C", "13"), "C#");
  EXPECT_EQ(TransposeChord("C", "-13"), "H");
  EXPECT_EQ(TransposeChord("A", "26"), "H");
  EXPECT_EQ(TransposeChord("A", "-25"), "G#");
  EXPECT_EQ(TransposeChord("A", "9223372036854775807"), TransposeChord("A", "7"));
  // Offset 12 equals offset 0 only for chords the table knows.
  EXPECT_EQ(TransposeChord("Q", "12"), "(Q?)");
}

TEST(TransposeChordTest, KeepsTrailingSpacesAndCellPadding) {
  EXPECT_EQ(TransposeChord("A   ", "2"), "H   ");
  // The padding of a chord over missing text, and the last cell's spaces, are "&nbsp;": their "b" must not
  // trigger the flat rule.
  EXPECT_EQ(TransposeChord("D  &nbsp;&nbsp;&nbsp;&nbsp;", "2"), "E  &nbsp;&nbsp;&nbsp;&nbsp;");
  EXPECT_EQ(TransposeChord("A7&nbsp;sus", "1"), "B7&nbsp;sus");
}

TEST(TransposeChordLineTest, KeepsColumnsAndTheGapBetweenChords) {
  EXPECT_EQ(TransposeChordLine(">  D   A   G", 2), ">  E   H   A");
  EXPECT_EQ(TransposeChordLine(">  C  F", 1), ">  C# F#");
  EXPECT_EQ(TransposeChordLine(">  C F", 1), ">  C# F#");     // a grown chord pushes the next one
  EXPECT_EQ(TransposeChordLine(">  C#  F", -1), ">  C   E");  // a shrunk chord keeps the next one's column
  EXPECT_EQ(TransposeChordLine(">A  kk", 2), ">H  kk");       // unknown chords stay as written
  EXPECT_EQ(TransposeChordLine(">  D", 0), ">  D");
}

}  // namespace
}  // namespace psalmora
