#include "render/song_html.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

using Lines = std::vector<std::string>;

std::string Html(const Lines& lines, const SongTextOptions& options = {}) {
  std::string out;
  WriteSongTextHtml(out, lines, options);
  return out;
}

// The page text without the line ends, easier to compare.
std::string Flat(const Lines& lines, const SongTextOptions& options = {}) {
  std::string html = Html(lines, options);
  std::string flat;
  for (const char c : html) {
    if (c != '\r' && c != '\n') flat += c;
  }
  constexpr std::string_view kOpen = "<table border=0><tr valign='top'><td valign='top'>";
  constexpr std::string_view kClose = "</td></tr></table>";
  EXPECT_TRUE(flat.starts_with(kOpen));
  EXPECT_TRUE(flat.ends_with(kClose));
  return flat.substr(kOpen.size(), flat.size() - kOpen.size() - kClose.size());
}

TEST(SongHtmlTest, EveryItemEndsWithCrLf) {
  EXPECT_EQ(
      Html({"La"}),
      "<table border=0><tr valign='top'><td valign='top'>\r\n<font id=te>La</font><br>\r\n</td></tr></table>\r\n");
}

TEST(SongHtmlTest, SongLinesArePlainTextButTheFreeTextMayHoldMarkup) {
  const Lines lines = {"#<i>Gnade</i>", ">  D<x", "Ja <script>alert(1)</script>", "Du &amp; ich <3"};
  SongTextOptions options;
  options.transposeOffset = 0;
  const std::string plain = Flat(lines, options);
  EXPECT_EQ(plain.find("<script"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("<i>"), std::string::npos) << plain;
  EXPECT_NE(plain.find("<font id=ub>&lt;i>Gnade&lt;/i></font><br>"), std::string::npos) << plain;
  EXPECT_NE(plain.find("<td><font id=ak>D&lt;x</font></td>"), std::string::npos) << plain;
  EXPECT_NE(plain.find("<td><font id=te>&lt;script>alert(1)&lt;/script></font></td>"), std::string::npos) << plain;
  EXPECT_NE(plain.find("<font id=te>Du &amp; ich &lt;3</font><br>"), std::string::npos) << plain;

  options.plainText = false;
  EXPECT_EQ(Flat({"Zeile 1<br>Zeile 2"}, options), "<font id=te>Zeile 1<br>Zeile 2</font><br>");
}

TEST(SongHtmlTest, ChordsOverTheirSyllables) {
  EXPECT_EQ(Flat({">  D  A", "Ja, so ist es"}),
            "<table border='0' cellspacing='0' cellpadding='0'><tr><td><font id=ak>   </font></td>"
            "<td><font id=ak>D&nbsp;</font></td><td><font id=ak>A</font></td></tr>"
            "<tr><td><font id=te>Ja,</font></td><td><font id=te>&nbsp;so</font></td>"
            "<td><font id=te>&nbsp;ist&nbsp;es</font></td></tr></table>");
}

// Cells lose their end blanks on the page; a chord wider than its syllables must still not touch the
// next one, above all after transposing.
TEST(SongHtmlTest, ChordsKeepTheirGapWhenWiderThanTheirSyllables) {
  SongTextOptions options;
  options.transposeOffset = -1;
  const std::string flat = Flat({">G/H C D", "ja ho he"}, options);
  EXPECT_NE(flat.find("<font id=ak>F#/B&nbsp;</font>"), std::string::npos) << flat;
  EXPECT_NE(flat.find("<font id=ak>H&nbsp;</font>"), std::string::npos) << flat;
  EXPECT_NE(flat.find("<font id=ak>C#</font>"), std::string::npos) << flat;  // the last cell as it was
}

TEST(SongHtmlTest, PendingChordsWaitAcrossTranslationAndCommentLines) {
  SongTextOptions options;
  options.commentsShown = true;
  const std::string flat = Flat({">  D", "#Yes ##it is", ";Note;", "Ja, so"}, options);
  const std::size_t translation = flat.find("<font id=ub>Yes it is</font><br>");
  const std::size_t comment = flat.find("<font id=ko>Note</font><br>");
  const std::size_t chord = flat.find("<td><font id=ak>D</font></td>");
  ASSERT_NE(translation, std::string::npos);
  ASSERT_NE(comment, std::string::npos);
  ASSERT_NE(chord, std::string::npos);
  EXPECT_LT(translation, comment);
  EXPECT_LT(comment, chord);
  EXPECT_NE(flat.find("<td><font id=te>Ja,</font></td>"), std::string::npos);
}

TEST(SongHtmlTest, ASecondChordLineReplacesTheFirstAndChordsApplyToOneLine) {
  const std::string flat = Flat({">  D", ">  G", "Eins", "Zwei", ">  A"});
  EXPECT_EQ(flat.find(">D<"), std::string::npos);
  EXPECT_NE(flat.find("<font id=ak>G</font>"), std::string::npos);
  EXPECT_NE(flat.find("<font id=te>Zwei</font><br>"), std::string::npos);  // no chords left for it
  EXPECT_EQ(flat.find("<font id=ak>A"), std::string::npos);                // no text line after it
}

TEST(SongHtmlTest, OnlyMarkerChordLineIsIgnored) {
  EXPECT_EQ(Flat({">   ", "Text"}), "<font id=te>Text</font><br>");
}

TEST(SongHtmlTest, HiddenStylesFollowTheirFlags) {
  SongTextOptions options;
  options.lyricsShown = false;
  options.translationShown = false;
  // Without chords the lyrics are written anyway; with chords only the chord row is.
  EXPECT_EQ(Flat({"Frei", "#weg"}, options), "<font id=te>Frei</font><br>");
  EXPECT_EQ(Flat({">  D", "Ja, so"}, options),
            "<table border='0' cellspacing='0' cellpadding='0'><tr><td><font id=ak>   </font></td>"
            "<td><font id=ak>D</font></td></tr></table>");
  options.chordsShown = false;
  EXPECT_EQ(Flat({">  D", "Ja"}, options), "<font id=te>Ja</font><br>");
}

TEST(SongHtmlTest, TransposesCellsIncludingPaddedOnes) {
  SongTextOptions options;
  options.transposeOffset = 2;
  const std::string flat = Flat({">  D   A  ", "Hi"}, options);
  EXPECT_NE(flat.find("<font id=ak>E   &nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</font>"), std::string::npos);
  EXPECT_NE(flat.find("<font id=ak>H&nbsp;&nbsp;</font>"), std::string::npos);
  EXPECT_EQ(flat.find("?)"), std::string::npos);
}

TEST(SongHtmlTest, BlocksAreSeparatedByAnEmptyLine) {
  EXPECT_EQ(Flat({"a", "-", "b", "  ", "c"}),
            "<font id=te>a</font><br><font id=te>&nbsp;<br><font id=te>b</font><br>"
            "<font id=te>&nbsp;<br><font id=te>c</font><br>");
}

TEST(SongHtmlTest, TrailingEmptyLinesAreDroppedButSeparatorsStay) {
  EXPECT_EQ(Flat({"a", "", "", ""}), "<font id=te>a</font><br>");
  EXPECT_EQ(Flat({"a", "-", "-"}), "<font id=te>a</font><br><font id=te>&nbsp;<br><font id=te>&nbsp;<br>");
}

TEST(SongHtmlTest, SlideMarkersStartEveryBlock) {
  SongTextOptions options;
  options.slideMarkers = true;
  EXPECT_EQ(Flat({"a", "-", "b"}, options),
            "<font id=te ><span onclick='javascript:document.title=\"1\"' style='background-color:yellow'>Folie 1"
            "</span><br><font id=te>a</font><br>"
            "<font id=te ><br><span onclick='javascript:document.title=\"2\"' style='background-color:yellow'>Folie 2"
            "</span><br><font id=te>b</font><br>");
}

TEST(SongHtmlTest, FiveBlocksInTwoColumnsBreakBeforeBlockFour) {
  SongTextOptions options;
  options.twoColumns = true;
  const std::string flat = Flat({"1", "-", "2", "-", "3", "-", "4", "-", "5"}, options);
  EXPECT_NE(flat.find("<font id=te>3</font><br></td><td valign='top'><font id=te>&nbsp;<br><font id=te>4<"),
            std::string::npos);
  EXPECT_EQ(flat.find("</td><td"), flat.rfind("</td><td"));
  options.slideMarkers = true;
  const std::string marked = Flat({"1", "-", "2", "-", "3", "-", "4", "-", "5"}, options);
  // Right after the break the marker needs no empty line above it.
  EXPECT_NE(marked.find("</td><td valign='top'><font id=te ><span"), std::string::npos);
}

TEST(SongHtmlTest, NoColumnBreakWithoutTheToggle) {
  EXPECT_EQ(Flat({"1", "-", "2", "-", "3"}).find("</td><td"), std::string::npos);
}

}  // namespace
}  // namespace psalmora
