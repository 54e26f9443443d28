#include "render/page_template.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

std::string Expand(std::string_view layoutCode, std::string_view record, int count = 1) {
  std::string out;
  ProcessTemplate(layoutCode, record, count, out, [](std::string& o) { o += "[TEXT]"; });
  return out;
}

constexpr std::string_view kRecord = "7\tstamp\tTitel\tD A G\t\t\t\tCopyright X";

TEST(PageTemplateTest, NewLayoutTemplate) {
  EXPECT_EQ(Expand(" #$3#<br><br>#$text1#", kRecord), " Titel<br><br>[TEXT]");
}

TEST(PageTemplateTest, WithoutHashItIsOneLiteralPiece) {
  EXPECT_EQ(Expand("<b>$3</b>", kRecord), "<b>$3</b>");
}

TEST(PageTemplateTest, AnEmptyPieceEndsTheTemplate) {
  EXPECT_EQ(Expand(" #$3##$text1#", kRecord), " Titel");
  EXPECT_EQ(Expand("<i>#$8#</i>", kRecord), "<i>Copyright X</i>");
}

TEST(PageTemplateTest, FieldsArePlainText) {
  EXPECT_EQ(Expand("<h1>#$3#</h1>", "1\t\tGnade <b>fett</b> & Co"), "<h1>Gnade &lt;b>fett&lt;/b> & Co</h1>");
}

TEST(PageTemplateTest, EmptyTemplateWritesNothing) {
  EXPECT_EQ(Expand("", kRecord), "");
  EXPECT_EQ(Expand("#$3", kRecord), "");  // begins with an empty piece
}

TEST(PageTemplateTest, FieldsBeyondTheRecordAndUnknownNamesWriteNothing) {
  EXPECT_EQ(Expand("a#$11#b#$0#c#$99999999999999999999#d#$text2#e#$foo#f", kRecord), "abcdef");
}

TEST(PageTemplateTest, EveryDollarIsRemovedFromThePlaceholderName) {
  EXPECT_EQ(Expand("-#$$3$#", kRecord), "-Titel");
  EXPECT_EQ(Expand("-#$te$xt1#", kRecord), "-[TEXT]");
}

TEST(PageTemplateTest, CountEndsItsLine) {
  EXPECT_EQ(Expand("<p>#$count#</p>", kRecord, 3), "<p>3\r\n</p>");
}

}  // namespace
}  // namespace psalmora
