// Web song search addresses and the page reader of the song import: the old "tf_" page form, today's
// pages with only a <pre> block, and pages that give no song.
#include "online/web_song_search.h"

#include <gtest/gtest.h>

#include <random>

#include "core/record_fields.h"

namespace psalmora {
namespace {

TEST(WebSearchUrl, BuildsEachSitesRequestWithTheTermEncoded) {
  struct Case {
    SearchSite site;
    SearchField field;
    std::string expected;
  };
  const Case cases[] = {
      {SearchSite::UltimateGuitar, SearchField::Title, "https://ug/search.php?s=Rock%20%26%20Roll&w=songs"},
      {SearchSite::UltimateGuitar, SearchField::Artist, "https://ug/search.php?s=Rock%20%26%20Roll&w=bands"},
      {SearchSite::Google, SearchField::Artist, "https://ug/search?hl=de&q=Rock%20%26%20Roll&btnG=Google-Suche"},
  };
  for (const Case& c : cases) EXPECT_EQ(WebSearchUrl("https://ug/", c.site, c.field, "Rock & Roll"), c.expected);
  EXPECT_EQ(WebSearchUrl("https://ug", SearchSite::Google, SearchField::Title, "Gro\xDF#1"),
            "https://ug/search?hl=de&q=Gro%C3%9F%231&btnG=Google-Suche");
}

TEST(ReadSongPage, TheOldFormGivesArtistTitleAndEveryPreBlock) {
  const std::string page =
      "<html><head>\n"
      "<input type=\"hidden\" name=\"x\" value=\"tf_artist\" data=\"Hillsong\" >\n"
      "var tf_songtitle = \"Mighty &amp; Great\";\n"
      "<input name=\"tf_artist\" value=\"second\">\n"
      "</head><body><p>Intro</p>\n"
      "<pre>\n"
      "G    D\n"
      "Mighty\tto <b>save</b>\n"
      "</pre>\n"
      "between\n"
      "<pre>G    D</pre>\n"
      "</body>\n";
  const PageSong song = ReadSongPage(page);
  EXPECT_EQ(song.artist, "hidden");  // between the line's first and second quotation mark
  EXPECT_EQ(song.title, "Mighty & Great");
  EXPECT_EQ(song.lines, (std::vector<std::string>{"", ">G   D", "Mightyto save", "", ">G   D"}));
}

TEST(ReadSongPage, APageWithOnlyAPreBlockGivesItsTitleAndLargestBlock) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>Amazing Grace Chords by John Newton &#8211; Tabs</title></head>\n"
      "<body><PRE class=\"small\">x</PRE><div><pre class=\"js-tab\">\n"
      "[Verse]\n"
      "<span>G</span>       C     G\n"
      "Amazing grace how sweet\n"
      "</pre></div></body></html>";
  const PageSong song = ReadSongPage(page);
  EXPECT_EQ(song.title, "Amazing Grace Chords by John Newton \x96 Tabs");
  EXPECT_EQ(song.artist, "");
  EXPECT_EQ(song.lines, (std::vector<std::string>{"[Verse]", ">G      C     G", "Amazing grace how sweet"}));
  EXPECT_TRUE(HasSongText(song));
}

TEST(ReadSongPage, UnreadablePagesGiveNoSongText) {
  for (const std::string& page : {std::string(), std::string("<html><title>Suche</title>nichts</html>"),
                                 std::string("<pre>\n   \n</pre>"), std::string("\x89PNG\r\n\x1a\n\0\0", 10)}) {
    EXPECT_FALSE(HasSongText(ReadSongPage(page))) << page;
  }
}

TEST(PreparePageSong, MakesTheTwelveFieldRecordAndCrLines) {
  PageSong song{"Art\tist", "Titel", {">G   D", "Text"}};
  const PreparedSong prepared = PreparePageSong(song, 1700000000);
  const std::string record = "99" + prepared.recordAfterId;
  EXPECT_EQ(RecordField(record, 2), "14.11.2023-22:13");
  EXPECT_EQ(RecordField(record, 3), "Titel");
  EXPECT_EQ(RecordField(record, 7), "Art ist");
  EXPECT_EQ(RecordField(record, 12), "1700000000");
  EXPECT_EQ(std::count(record.begin(), record.end(), '\t'), 11);
  EXPECT_EQ(prepared.textFile, ">G   D\rText\r");
}

TEST(ReadSongPageFuzz, MutatedPagesNeverCrash) {
  std::mt19937 random(20261207);
  const std::string seed =
      "<title>T &amp; &#65; &#</title>\n\"tf_artist\" \"A\"\n<pre>\nG    D\n<b>x</b>\t\n</pre>\n<pre class=a>y</pre>";
  for (int round = 0; round < 3000; ++round) {
    std::string page = seed;
    for (int step = 0; step < 5; ++step) {
      const std::size_t at = page.empty() ? 0 : random() % page.size();
      const int kind = static_cast<int>(random() % 3);
      if (kind == 0) page.insert(at, 1, "<>&#;\"\t\r\n /pre"[random() % 14]);
      if (kind == 1 && !page.empty()) page.erase(at, 1 + random() % 8);
      if (kind == 2 && !page.empty()) page[at] = static_cast<char>(random());
    }
    const PageSong song = ReadSongPage(page);
    const PreparedSong prepared = PreparePageSong(song, 0);
    const std::string record = "1" + prepared.recordAfterId;
    EXPECT_EQ(std::count(record.begin(), record.end(), '\t'), 11);
  }
}

}  // namespace
}  // namespace psalmora
