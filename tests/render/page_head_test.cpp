#include "render/page_head.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

Layout TestLayout() {
  return Layout{{"N", "D", "black", "bg.png", "", "ak|1|Times|-1|700|20|1,2,3|yellow", "te|1|Arial|0|400|16|0,0,0",
                 "ub|1|Arial|0|400|16|0,0,0", "ko|0|Arial|0|400|14|0,0,0"}};
}

TEST(PageHeadTest, BodyAndStyleRules) {
  std::string out;
  WritePageHead(out, TestLayout(), PageFrame{"5", false, "bg.png"});
  EXPECT_TRUE(
      out.starts_with("<head><title></title></head><body leftmargin='5' scroll='' topmargin='0' id='body' "
                      "style='background-image:url(bg.png); background-repeat:; background-attachment:fixed; "
                      "background-position:center; background-color:black;'><style type='text/css'>"));
  EXPECT_NE(out.find("#ak{ font-family:Times; font-style:italic; font-weight:700; font-size:20px; color:RGB(1,2,3); "
                     "background-color:yellow}#te{ "),
            std::string::npos);
  EXPECT_TRUE(out.ends_with("background-color:}</style>"));
  EXPECT_EQ(out.find('\n'), std::string::npos);
}

TEST(PageHeadTest, GlowOnlyWithATenthLineWhoseFlagIsSet) {
  Layout layout = TestLayout();
  std::string out;
  WritePageHead(out, layout, PageFrame{});
  EXPECT_EQ(out.find("Glow"), std::string::npos);
  layout.lines.push_back("0-255");
  out.clear();
  WritePageHead(out, layout, PageFrame{});
  EXPECT_EQ(out.find("Glow"), std::string::npos);
  layout.lines.back() = "1-255";
  out.clear();
  WritePageHead(out, layout, PageFrame{});
  EXPECT_NE(out.find("#ak{ height: 1em; filter:Glow(color=#FF0000, strength=5); text-shadow:0 0 2px #FF0000, "
                     "0 0 3px #FF0000, 0 0 5px #FF0000, 0 0 5px #FF0000; font-family:Times;"),
            std::string::npos);
}

TEST(PageHeadTest, NoScrollFrameHidesOverflow) {
  std::string out;
  WritePageHead(out, TestLayout(), PageFrame{"30", true, "song.jpg"});
  EXPECT_NE(
      out.find("<body leftmargin='30' scroll='no' topmargin='0' id='body' style='background-image:url(song.jpg);"),
      std::string::npos);
  EXPECT_NE(out.find("background-color:black; overflow:hidden;'>"), std::string::npos);
}

TEST(PageHeadTest, PicturePathCannotBreakTheUrlOrTheAttribute) {
  std::string out;
  WritePageHead(out, TestLayout(), PageFrame{"30", true, "/home/anna/Eigene Bilder/Gottes Wort's (2).jpg"});
  EXPECT_NE(out.find("style='background-image:url(/home/anna/Eigene%20Bilder/Gottes%20Wort%27s%20%282%29.jpg); "
                     "background-repeat:;"),
            std::string::npos)
      << out;
  // The attribute still ends where the page means it to.
  EXPECT_NE(out.find("background-color:black; overflow:hidden;'><style"), std::string::npos);
  out.clear();
  WritePageHead(out, TestLayout(),
                PageFrame{"5", false,
                          "C:/Bilder/ü"
                          "ber-bild.jpg"});
  EXPECT_NE(out.find("url(C:/Bilder/ü"
                     "ber-bild.jpg)"),
            std::string::npos);
}

// Song field 10 comes from the song, from an import or another user: whatever it holds, the page keeps
// one url() inside one style attribute. References are decoded as the page parser would before encoding.
TEST(PageHeadTest, HostilePicturePathsStayInsideTheUrl) {
  struct Case {
    std::string_view path;
    std::string_view url;
  };
  const Case cases[] = {
      {"x.jpg&#41;; color:red", "x.jpg%29%3B%20color:red"},
      {"x.jpg&#x29;&#X3B;", "x.jpg%29%3B"},
      {"x&#41", "x%26#41"},                  // not a reference the store writes: its "&" is encoded
      {"a&rpar;b", "a%26rpar%3Bb"},          // named references cannot form either
      {"a&amp;#41;b", "a%26amp%3B#41%3Bb"},  // nor a reference hidden in one
      {"&#39; onload=&#39;x", "%27%20onload=%27x"},
      {"x\\29", "x%5C29"},  // a CSS escape
      {"x\\", "x%5C"},      // a backslash that would escape the closing bracket
      {"x}</style><script>y", "x%7D%3C/style%3E%3Cscript%3Ey"},
      {"x\r\ny\tz", "x%0D%0Ay%09z"},
      {"x&#0;y", "x%00y"},
      {"x&#99999999999;y", "x%EF%BF%BDy"},                     // beyond Unicode: what the page shows for it
      {"&#322;&#243;d&#378;.jpg", "%C5%82%C3%B3d%C5%BA.jpg"},  // łódź as the store writes it
      {"bild-\xFC.jpg", "bild-\xFC.jpg"},                      // a Windows-1252 byte stays as it is
  };
  for (const Case& c : cases) {
    std::string out;
    WritePageHead(out, TestLayout(), PageFrame{"30", true, c.path});
    const std::string expected = "style='background-image:url(" + std::string(c.url) +
                                 "); background-repeat:; background-attachment:fixed; background-position:center; "
                                 "background-color:black; overflow:hidden;'><style type='text/css'>#ak{";
    EXPECT_NE(out.find(expected), std::string::npos) << c.path << "\n" << out;
  }
}

}  // namespace
}  // namespace psalmora
