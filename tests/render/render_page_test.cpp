#include "render/render_page.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "render/layout_file.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// The first song of a new data folder: its record (four fields, no trailing TAB) and its text.
constexpr std::string_view kFirstSong = "1\t07.12.2026-10:00\tDas erste Lied\tD A G A D (2x)";
constexpr std::string_view kSampleText =
    ">A  kk     o  r     d    e\rLiedtext steht hier, Halleluja!!\r#Und hier die \xDC"
    "bersetzung\r>A  kk     o  r     d    e\rLiedtext steht hier, Halleluja!!\r#Und hier die \xDC"
    "bersetzung\r \r;Hier ein Komentar\r\n";

std::size_t Count(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// Compares a page with its reviewed copy; PSALMORA_UPDATE_GOLDEN=1 rewrites the copies instead.
void ExpectGolden(const std::filesystem::path& page, std::string_view name) {
  const std::filesystem::path expected =
      std::filesystem::path(PSALMORA_TEST_DATA_DIR) / "render" / "expected" / std::string(name);
  const std::string actual = ReadFileBytes(page);
  if (std::getenv("PSALMORA_UPDATE_GOLDEN") != nullptr) {
    WriteFileBytes(expected, actual);
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
  EXPECT_EQ(actual, ReadFileBytes(expected)) << name;
}

class RenderPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders_.dataFolder = data_.path();
    folders_.layoutFolder = layouts_.path();
    WriteFileBytes(data_ / "1.dat", kSampleText);
    ASSERT_TRUE(SaveLayout(layouts_.path(), "1", NewLayoutContents(NewLayoutWords{})));
    Layout beamer = NewLayoutContents(NewLayoutWords{});
    beamer.lines[0] = "Beamer";
    beamer.lines[2] = "rgb(12,18,32)";
    beamer.lines[5] = "ak|1|Arial|0|700|30|255,210,80";
    beamer.lines[6] = "te|1|Arial|0|700|46|255,255,255";
    beamer.lines.push_back("1-16711680");
    ASSERT_TRUE(SaveLayout(layouts_.path(), "2", beamer));
  }

  RenderResult Render(RenderMode mode, std::vector<std::string> list, std::string layoutKey = "1") {
    request_.mode = mode;
    request_.renderList = std::move(list);
    request_.layoutKey = std::move(layoutKey);
    return RenderPage(request_, folders_, state_);
  }

  std::string Page(RenderMode mode) { return ReadFileBytes(data_ / std::string(PageFileName(mode))); }

  TempDir data_;
  TempDir layouts_;
  RenderFolders folders_;
  RenderRequest request_;
  RenderState state_;
};

TEST_F(RenderPageTest, GoldenPreview) {
  const RenderResult result = Render(RenderMode::kVorschau, {std::string(kFirstSong)});
  ASSERT_TRUE(result.written) << result.error;
  EXPECT_TRUE(result.load);
  EXPECT_EQ(result.page, data_ / "vorschau.htm");
  ExpectGolden(result.page, "vorschau.htm");
}

TEST_F(RenderPageTest, GoldenPreviewWithSlideMarkers) {
  state_.paging.currentSlide = 1;
  ExpectGolden(Render(RenderMode::kVorschau, {std::string(kFirstSong)}).page, "vorschau-folien.htm");
}

TEST_F(RenderPageTest, GoldenPreviewInTwoColumns) {
  request_.twoColumns = true;
  ExpectGolden(Render(RenderMode::kVorschau, {std::string(kFirstSong)}).page, "vorschau-zwei-spalten.htm");
}

TEST_F(RenderPageTest, GoldenBeamerSlide) {
  state_.paging.currentSlide = 4;
  const RenderResult result = Render(RenderMode::kBeamerLied, {std::string(kFirstSong)}, "2");
  EXPECT_EQ(state_.paging.currentSlide, 1);  // a new song starts at its first slide
  EXPECT_EQ(result.blockCount, 1);
  EXPECT_EQ(result.currentSlide, 1);
  EXPECT_EQ(result.beamerSongId, "1");
  EXPECT_EQ(result.beamerTitle, "Das erste Lied");
  ExpectGolden(result.page, "beamer-folie.htm");
}

TEST_F(RenderPageTest, GoldenPrintOfThreeSongsWithCount) {
  Layout print = NewLayoutContents(NewLayoutWords{});
  print.lines[4] = "<p>#$count#. #$3#</p>#$text1#";
  ASSERT_TRUE(SaveLayout(layouts_.path(), "3", print));
  WriteFileBytes(data_ / "2.dat", "Zweites\r\n\r\n>  D\r\nNach der Pause\r\n");
  const RenderResult result =
      Render(RenderMode::kDrucken, {std::string(kFirstSong), "2\t\tZwei\t", "9\t\tOhne Text\t"}, "3");
  ExpectGolden(result.page, "drucken.htm");
  const std::string page = Page(RenderMode::kDrucken);
  EXPECT_NE(page.find("<p>1\r\n. Das erste Lied</p>"), std::string::npos);
  EXPECT_NE(page.find("<p>2\r\n. Zwei</p>"), std::string::npos);
  EXPECT_NE(page.find("<p>3\r\n. Ohne Text</p>"), std::string::npos);
  // Each song has its head and body tag; the style rules, the same for all, come once.
  EXPECT_EQ(Count(page, "<head>"), 3u);
  EXPECT_EQ(Count(page, "<style"), 1u);
}

TEST_F(RenderPageTest, GoldenLayoutPreview) {
  const RenderResult result = Render(RenderMode::kLayout, {});
  EXPECT_TRUE(result.load);
  ExpectGolden(result.page, "layout.htm");
  EXPECT_NE(Page(RenderMode::kLayout).find("</style> Titel<br><br>"), std::string::npos);
}

TEST_F(RenderPageTest, PagesUseCssPixelsAndBeamerPagesDoNotScroll) {
  Render(RenderMode::kVorschau, {std::string(kFirstSong)});
  const std::string preview = Page(RenderMode::kVorschau);
  EXPECT_NE(preview.find("font-size:16px;"), std::string::npos);
  EXPECT_EQ(preview.find(" px"), std::string::npos);
  EXPECT_NE(preview.find("scroll=''"), std::string::npos);
  EXPECT_EQ(preview.find("overflow:hidden"), std::string::npos);
  EXPECT_EQ(preview.find("text-shadow"), std::string::npos);

  for (const RenderMode mode : {RenderMode::kBeamerLied, RenderMode::kAkkorde, RenderMode::kFuss, RenderMode::kFreetext,
                                RenderMode::kKopfzeile}) {
    Render(mode, {std::string(kFirstSong)});
    const std::string page = Page(mode);
    EXPECT_NE(page.find("scroll='no'"), std::string::npos) << RenderModeWord(mode);
    EXPECT_NE(page.find("background-color:; overflow:hidden;'>"), std::string::npos) << RenderModeWord(mode);
  }
}

TEST_F(RenderPageTest, OutlineWritesGlowFilterAndTextShadow) {
  Render(RenderMode::kBeamerLied, {std::string(kFirstSong)}, "2");
  const std::string page = Page(RenderMode::kBeamerLied);
  EXPECT_NE(page.find("#te{ height: 1em; filter:Glow(color=#0000FF, strength=5); text-shadow:0 0 2px #0000FF"),
            std::string::npos);
  EXPECT_NE(page.find("#ko{ height: 1em; filter:Glow"), std::string::npos);
}

TEST_F(RenderPageTest, TrailingEmptyLinesOnTheBeamerAndInThePreview) {
  WriteFileBytes(data_ / "1.dat", "Eins\r\nZwei\r\n\r\n\r\n\r\n");
  Render(RenderMode::kBeamerLied, {std::string(kFirstSong)});
  EXPECT_TRUE(Page(RenderMode::kBeamerLied).ends_with("<font id=te>Zwei</font><br>\r\n</td></tr></table>\r\n"));
  Render(RenderMode::kVorschau, {std::string(kFirstSong)});
  EXPECT_TRUE(Page(RenderMode::kVorschau)
                  .ends_with("<font id=te>Zwei</font><br>\r\n<font id=te>&nbsp;<br>\r\n<font id=te>&nbsp;<br>\r\n"
                             "<font id=te>&nbsp;<br>\r\n</td></tr></table>\r\n"));
}

TEST_F(RenderPageTest, BeamerPagingKeepsTheSlideOnlyWhenAsked) {
  WriteFileBytes(data_ / "1.dat", "a\r\n\r\nb\r\n-\r\nc\r\n");
  state_.paging.currentSlide = 3;
  state_.paging.keepSlide = true;
  RenderResult result = Render(RenderMode::kBeamerLied, {std::string(kFirstSong)});
  EXPECT_EQ(state_.paging.currentSlide, 3);
  EXPECT_FALSE(state_.paging.keepSlide);
  EXPECT_EQ(result.blockCount, 3);
  std::string page = Page(RenderMode::kBeamerLied);
  EXPECT_NE(page.find("<font id=te>c</font>"), std::string::npos);
  EXPECT_EQ(page.find("<font id=te>a</font>"), std::string::npos);

  result = Render(RenderMode::kBeamerLied, {std::string(kFirstSong)});
  EXPECT_EQ(state_.paging.currentSlide, 1);
  page = Page(RenderMode::kBeamerLied);
  EXPECT_NE(page.find("<font id=te>a</font>"), std::string::npos);
  EXPECT_EQ(page.find("<font id=te>b</font>"), std::string::npos);

  state_.paging.currentSlide = 0;  // paging off: the whole song, no slide data
  result = Render(RenderMode::kBeamerLied, {std::string(kFirstSong)});
  EXPECT_EQ(result.blockCount, 0);
  EXPECT_NE(Page(RenderMode::kBeamerLied).find("<font id=te>c</font>"), std::string::npos);
}

TEST_F(RenderPageTest, PreviewReportsTempoAndSongOrder) {
  std::string record = "1\t\tT\t";
  for (int field = 4; field <= 13; ++field) record += "\t";
  record += "Vers 1\x81Refrain\t\t120\t";
  RenderResult result = Render(RenderMode::kVorschau, {record});
  EXPECT_EQ(result.record, record);
  EXPECT_EQ(result.tempoText, "Tempo: 120 bpm");
  EXPECT_EQ(result.songOrderText, "Vers 1\rRefrain");
  result = Render(RenderMode::kVorschau, {std::string(kFirstSong)});
  EXPECT_EQ(result.tempoText, "kein Tempo");
}

TEST_F(RenderPageTest, BeamerUsesWideMarginAndTheSongsOwnPicture) {
  std::string record = "1\t\tT\t\t\t\t\t\t\tbild.jpg\t";
  Render(RenderMode::kBeamerLied, {record});
  EXPECT_NE(Page(RenderMode::kBeamerLied)
                .find("<body leftmargin='30' scroll='no' topmargin='0' id='body' "
                      "style='background-image:url(bild.jpg);"),
            std::string::npos);
  request_.freeText = "Zeile 1\r\nZeile 2\nZeile 3";
  request_.beamerSongRecord = record;
  Render(RenderMode::kFreetext, {});
  const std::string page = Page(RenderMode::kFreetext);
  EXPECT_NE(page.find("url(bild.jpg)"), std::string::npos);
  EXPECT_NE(page.find("<font id=te>Zeile 1<br>Zeile 2<br>Zeile 3</font><br>"), std::string::npos);
  EXPECT_NE(page.find("</style> <br><br>"), std::string::npos);  // field 3 of the record "freetext" is empty
  // The song's picture is the song's text, not the page's: it cannot close the url or add declarations.
  Render(RenderMode::kBeamerLied, {"1\t\tT\t\t\t\t\t\t\tb.jpg&#41;; background:red\t"});
  EXPECT_NE(Page(RenderMode::kBeamerLied).find("url(b.jpg%29%3B%20background:red);"), std::string::npos);
}

TEST_F(RenderPageTest, HeaderTextUsesTheModeWordAsRecord) {
  Layout header = NewLayoutContents(NewLayoutWords{});
  header.lines[4] = "[#$1#]#$text1#";
  ASSERT_TRUE(SaveLayout(layouts_.path(), "4", header));
  request_.headerText = "Willkommen";
  const RenderResult result = Render(RenderMode::kKopfzeile, {}, "4");
  EXPECT_EQ(result.page, data_ / "akkord.htm");
  const std::string page = Page(RenderMode::kKopfzeile);
  EXPECT_NE(page.find("[kopfzeile]"), std::string::npos);
  EXPECT_NE(page.find("<font id=te>Willkommen</font><br>"), std::string::npos);
  EXPECT_NE(page.find("leftmargin='5'"), std::string::npos);
}

TEST_F(RenderPageTest, EmptyRenderListWritesAnEmptyFileAndLoadsNothing) {
  WriteFileBytes(data_ / "vorschau.htm", "old");
  const RenderResult result = Render(RenderMode::kVorschau, {});
  EXPECT_TRUE(result.written);
  EXPECT_FALSE(result.load);
  EXPECT_EQ(Page(RenderMode::kVorschau), "");
}

TEST_F(RenderPageTest, MissingLayoutGivesStylesWithoutValuesAndNoBody) {
  Render(RenderMode::kVorschau, {std::string(kFirstSong)}, "77");
  const std::string page = Page(RenderMode::kVorschau);
  EXPECT_TRUE(page.ends_with("</style>"));
  EXPECT_EQ(page.find("<table"), std::string::npos);
}

TEST_F(RenderPageTest, EmptyLayoutKeyKeepsTheLoadedLayout) {
  Render(RenderMode::kBeamerLied, {std::string(kFirstSong)}, "2");
  Render(RenderMode::kVorschau, {std::string(kFirstSong)}, "");
  EXPECT_NE(Page(RenderMode::kVorschau).find("font-size:46px"), std::string::npos);
}

TEST_F(RenderPageTest, UnwritableFileIsReportedAndKeepsItsPath) {
  folders_.dataFolder = data_ / "missing";
  const RenderResult result = Render(RenderMode::kVorschau, {std::string(kFirstSong)});
  EXPECT_FALSE(result.written);
  EXPECT_FALSE(result.error.empty());
  EXPECT_TRUE(result.load);
  EXPECT_EQ(result.page, data_ / "missing" / "vorschau.htm");
}

TEST_F(RenderPageTest, PreviewTransposesAndExpandsInlineSongs) {
  std::string record = "5\t\tInline";
  for (int field = 4; field <= 21; ++field) record += field == 21 ? "\t1\t" : "\t";
  WriteFileBytes(data_ / "5.dat", "Hallo [D]Welt\r\n");
  request_.transposeOffset = "2";
  Render(RenderMode::kVorschau, {record});
  const std::string page = Page(RenderMode::kVorschau);
  EXPECT_NE(page.find("<td><font id=ak>E&nbsp;&nbsp;&nbsp;</font></td>"), std::string::npos);
  EXPECT_NE(page.find("<td><font id=te>Welt</font></td>"), std::string::npos);
}

TEST_F(RenderPageTest, TheKeyMovesWithTheChordsInTheHeaderBand) {
  Layout header = NewLayoutContents(NewLayoutWords{});
  header.lines[4] = "$3#[#$4#]";
  ASSERT_TRUE(SaveLayout(layouts_.path(), "3", header));
  const std::string record = "1\t\tLied\tEs-Dur\t";
  struct Case {
    RenderMode mode;
    std::string_view offset;
    std::string_view shown;
  };
  const Case cases[] = {
      {RenderMode::kAkkorde, "0", "[Es-Dur]"},  {RenderMode::kAkkorde, "2", "[F-Dur]"},
      {RenderMode::kAkkorde, "-3", "[C-Dur]"},  {RenderMode::kVorschau, "1", "[E-Dur]"},
      {RenderMode::kDrucken, "3", "[Ges-Dur]"},
  };
  for (const Case& c : cases) {
    request_.transposeOffset = std::string(c.offset);
    Render(c.mode, {record}, "3");
    EXPECT_NE(Page(c.mode).find(c.shown), std::string::npos) << RenderModeWord(c.mode) << " " << c.offset;
  }
  request_.transposeOffset = "2";  // the layout preview shows the field names themselves
  Render(RenderMode::kLayout, {}, "3");
  EXPECT_NE(Page(RenderMode::kLayout).find("[Akkorde]"), std::string::npos);
}

// The shipped footer band names authors, copyright and CCLI number; a field the song lacks leaves
// neither its label nor a separator.
TEST_F(RenderPageTest, ShippedFooterShowsOnlyTheFieldsASongHas) {
  folders_.layoutFolder = std::filesystem::path(PSALMORA_SOURCE_DIR) / "data" / "layouts";
  struct Case {
    std::string_view authors, copyright, ccli, shown;
  };
  const Case cases[] = {
      {"Anna", "Verlag", "123",
       "Anna&nbsp;&nbsp;&middot;&nbsp;&nbsp;&copy;&nbsp;Verlag&nbsp;&nbsp;&middot;&nbsp;&nbsp;"
       "CCLI-Liednummer&nbsp;123</div>"},
      {"", "", "", "'></div>"},
      {"Anna", "", "", "'>Anna</div>"},
      {"", "Verlag", "", "'>&copy;&nbsp;Verlag</div>"},
      {"", "", "123", "'>CCLI-Liednummer&nbsp;123</div>"},
      {"Anna", "", "123", "'>Anna&nbsp;&nbsp;&middot;&nbsp;&nbsp;CCLI-Liednummer&nbsp;123</div>"},
  };
  for (const Case& c : cases) {
    const std::string record = "1\t\tT\t\t\t\t" + std::string(c.authors) + "\t" + std::string(c.copyright) + "\t\t\t" +
                               std::string(c.ccli) + "\t";
    Render(RenderMode::kFuss, {record}, "4");
    EXPECT_NE(Page(RenderMode::kFuss).find(c.shown), std::string::npos) << record << "\n" << Page(RenderMode::kFuss);
  }
}

TEST(RenderModeTest, WordsFilesAndLayoutSettings) {
  EXPECT_EQ(RenderModeFromWord("beamer-lied"), RenderMode::kBeamerLied);
  EXPECT_FALSE(RenderModeFromWord("beamer").has_value());
  EXPECT_EQ(PageFileName(RenderMode::kFreetext), "beamer.htm");
  EXPECT_EQ(PageFileName(RenderMode::kKopfzeile), "akkord.htm");
  EXPECT_EQ(PageFileName(RenderMode::kAkkorde), "akkord.htm");
  EXPECT_EQ(LayoutSettingKey(RenderMode::kKopfzeile), "beamer");
  EXPECT_EQ(LayoutSettingKey(RenderMode::kAkkorde), "kopfzeile");
  EXPECT_EQ(LayoutSettingKey(RenderMode::kFuss), "fu\xDFzeile");
  EXPECT_EQ(LayoutSettingKey(RenderMode::kDrucken), "");
  for (const std::string_view word :
       {"vorschau", "beamer-lied", "freetext", "kopfzeile", "akkorde", "fuss", "drucken", "layout"}) {
    EXPECT_EQ(RenderModeWord(*RenderModeFromWord(word)), word);
  }
}

}  // namespace
}  // namespace psalmora
