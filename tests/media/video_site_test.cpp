#include "media/video_site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace psalmora {
namespace {

TEST(VideoSiteTest, VideoIdIsTheQueryKeyV) {
  EXPECT_EQ(VideoIdOf("https://www.youtube.com/watch?v=abc_-12"), "abc_-12");
  EXPECT_EQ(VideoIdOf("https://www.youtube.com/watch?feature=x&v=abc&t=3#top"), "abc");
  EXPECT_EQ(VideoIdOf("https://www.youtube.com/watch?vv=abc"), "");
  EXPECT_EQ(VideoIdOf("https://www.youtube.com/"), "");
  EXPECT_EQ(EntryVideoId("dQw4w9WgXcQ"), "dQw4w9WgXcQ");
  EXPECT_EQ(EntryVideoId("https://example.org/film"), "");
}

TEST(VideoSiteTest, WatchPageKeepsFullAddressesAndBuildsTheRest) {
  EXPECT_EQ(WatchAddress("https://www.youtube.com/watch?v=abc"), "https://www.youtube.com/watch?v=abc");
  EXPECT_EQ(WatchAddress("http://example.org/x"), "http://example.org/x");
  EXPECT_EQ(WatchAddress("abc'><x"), "https://www.youtube.com/watch?v=abcx");
}

TEST(VideoSiteTest, BeamerPageEmbedsTheSitePlayerFillingTheMonitor) {
  EXPECT_EQ(EmbeddedPlayerPage("abc", 1024, 768),
            "<body text='#FFFFFF' bgcolor='#000000' topmargin='0' scroll='no' style='margin:0;overflow:hidden'>"
            "<iframe width='1024' height='768' src='https://www.youtube.com/embed/abc?autoplay=1&rel=0&fs=0&hl=de' "
            "frameborder='0' allow='autoplay; encrypted-media' allowfullscreen></iframe>");
  // Hostile ids lose every character an id never holds.
  EXPECT_EQ(EmbedAddress("a' onload='x"), "https://www.youtube.com/embed/aonloadx?autoplay=1&rel=0&fs=0&hl=de");
  EXPECT_EQ(ThumbnailAddress("abc"), "https://i.ytimg.com/vi/abc/default.jpg");
}

TEST(VideoSiteTest, ArtistAndTitleFromThePageTitle) {
  struct Case {
    const char* page;
    const char* artist;
    const char* title;
  };
  const Case cases[] = {
      {"YouTube - Hillsong - Oceans", "Hillsong", "Oceans"},
      {"YouTube- Hillsong - Oceans", "Hillsong", "Oceans"},
      {"YouTube -Hillsong - Oceans", "Hillsong", "Oceans"},
      {"YouTube-Hillsong - Oceans", "Hillsong", "Oceans"},
      {"Hillsong - Oceans - YouTube", "Hillsong", "Oceans"},  // the site's title today
      {"Nur ein Titel", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const VideoTitle split = SplitVideoPageTitle(c.page);
    EXPECT_EQ(split.artist, c.artist) << c.page;
    EXPECT_EQ(split.title, c.title) << c.page;
  }
}

TEST(VideoSiteTest, FuzzedAddressesAndTitlesNeverBreakThePages) {
  std::mt19937 random(17);
  const auto quotes = [](const std::string& page) { return std::count(page.begin(), page.end(), '\''); };
  const auto clean = quotes(EmbeddedPlayerPage("x", 10, 10));
  const std::string alphabet = "v=?&#-  |'<>/:.aZ9_\t\r\n\x81\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const std::string page = EmbeddedPlayerPage(EntryVideoId(text), 10, 10);
    EXPECT_EQ(quotes(page), clean);  // nothing from the input opens or closes an attribute
    SplitVideoPageTitle(text);
    const std::string watch = WatchAddress(text);
    EXPECT_FALSE(watch.empty());
  }
}

}  // namespace
}  // namespace psalmora
