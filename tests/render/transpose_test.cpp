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

TEST(TransposeChordTest, TwoLetterFlatsWinOverTheirFirstLetter) {
  EXPECT_EQ(TransposeChord("Hb", "1"), "H");
  EXPECT_EQ(TransposeChord("Eb7", "-1"), "D7");
  EXPECT_EQ(TransposeChord("Bb", "1"), "H");
  EXPECT_EQ(TransposeChord("Bb", "-5"), "F");
  EXPECT_EQ(TransposeChord("Bb", "0"), "Bb");
}

// Chord, offset, what is shown. Flats keep the way they were spelled, the table's own names keep the
// results they always had.
TEST(TransposeChordTest, ManyChords) {
  struct Case {
    std::string_view chord;
    std::string_view offset;
    std::string_view shown;
  };
  const Case cases[] = {
      // German flats, "B" being B flat
      {"Es", "1", "E"},
      {"Es", "2", "F"},
      {"Es", "3", "Ges"},
      {"Es", "-1", "D"},
      {"Es", "-2", "Des"},
      {"Es", "5", "As"},
      {"Es", "7", "B"},
      {"As", "1", "A"},
      {"As", "2", "B"},
      {"As", "-2", "Ges"},
      {"Ges", "2", "As"},
      {"Ges", "-1", "F"},
      {"Des", "2", "Es"},
      {"Des", "-1", "C"},
      {"Ces", "1", "C"},
      {"Fes", "1", "F"},
      {"Es7", "2", "F7"},
      {"Esm", "3", "Gesm"},
      {"Asmaj7", "-2", "Gesmaj7"},
      {"Es/B", "2", "F/C"},
      {"es", "1", "e"},
      {"as", "2", "b"},
      {"es7", "5", "as7"},
      // "sus" after E and A is no flat
      {"Esus4", "1", "Fsus4"},
      {"Essus4", "2", "Fsus4"},
      {"Asus2", "2", "Hsus2"},
      {"asus4", "-2", "gsus4"},
      // English flats
      {"Bb", "2", "C"},
      {"Bb", "-1", "A"},
      {"Bb", "3", "Db"},
      {"Bb", "-2", "Ab"},
      {"Bbm7", "5", "Ebm7"},
      {"Db", "2", "Eb"},
      {"Db", "3", "E"},
      {"Gb", "2", "Ab"},
      {"Ab", "1", "A"},
      {"Ab", "2", "Bb"},
      {"Abm", "5", "Dbm"},
      {"Cb", "1", "C"},
      {"Bb/D", "2", "C/E"},
      {"D/Bb", "2", "E/C"},
      {"Eb/Bb", "2", "F/C"},
      // the table's own names
      {"Eb", "2", "F"},
      {"Eb", "3", "F#"},
      {"Hb", "3", "C#"},
      {"B", "3", "C#"},
      {"B", "1", "H"},
      {"A#", "1", "H"},
      {"Ais", "1", "H"},
      {"Fis", "2", "G#"},
      {"Cis", "2", "D#"},
      {"H", "1", "C"},
      {"A", "1", "B"},
      {"E", "1", "F"},
      {"Em", "1", "Fm"},
      {"E7", "-1", "D#7"},
      {"Dsus4", "2", "Esus4"},
      {"Cmaj7", "1", "C#maj7"},
      {"Gadd9", "-2", "Fadd9"},
      {"Am7", "2", "Hm7"},
      {"G/H", "1", "G#/C"},
      {"(G)", "2", "(A)"},
      {"G(G7)", "2", "A(A7)"},
      // a flat sign further on no longer hides a one-letter root
      {"E7b9", "1", "F7b9"},
      // no chords
      {"N.C.", "2", "N.C."},
      {"N.C", "1", "N.C"},
      {"NC", "1", "NC"},
      {"n.c.", "-3", "n.c."},
      {"|", "2", "|"},
      {"%", "1", "%"},
      {"x", "2", "(x?)"},
      {"Intro", "2", "(Intro?)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TransposeChord(c.chord, c.offset), c.shown) << c.chord << " " << c.offset;
  }
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

TEST(TransposeKeyTest, ChordWordsMoveOtherWordsStay) {
  struct Case {
    std::string_view key;
    long long offset;
    std::string_view shown;
  };
  const Case cases[] = {
      {"G", 2, "A"},
      {"Es", 2, "F"},
      {"Es-Dur", 3, "Ges-Dur"},
      {"D-Dur", 2, "E-Dur"},
      {"D Dur", 2, "E Dur"},
      {"e-moll", 1, "f-moll"},
      {"a moll", 2, "h moll"},
      {"Bb", 2, "C"},
      {"D A G A D (2x)", 2, "E H A H E (2x)"},
      {"G, D, Em7", -2, "F, C, Dm7"},
      {"Asus4  C/G", 1, "Bsus4  C#/G#"},
      {"Capo 2: G", 1, "Capo 2: G#"},
      {"", 3, ""},
      {"Es-Dur", 0, "Es-Dur"},
  };
  for (const Case& c : cases) EXPECT_EQ(TransposeKey(c.key, c.offset), c.shown) << c.key << " " << c.offset;
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
