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

// A field group joins its fields with its separator; an empty field takes its label and its separator
// with it.
TEST(PageTemplateTest, FieldGroupsLeaveNoSeparatorForEmptyFields) {
  constexpr std::string_view kFooter = "<p>#$[ * #$7#(c) #$8#CCLI #$11#$]#</p>";
  struct Case {
    std::string_view authors, copyright, ccli, shown;
  };
  const Case cases[] = {
      {"A", "B", "1", "<p>A * (c) B * CCLI 1</p>"},
      {"", "", "", "<p></p>"},
      {"A", "", "", "<p>A</p>"},
      {"", "B", "", "<p>(c) B</p>"},
      {"", "", "1", "<p>CCLI 1</p>"},
      {"A", "", "1", "<p>A * CCLI 1</p>"},
      {"", "B", "1", "<p>(c) B * CCLI 1</p>"},
  };
  for (const Case& c : cases) {
    const std::string record =
        "1\t\tT\t\t\t\t" + std::string(c.authors) + "\t" + std::string(c.copyright) + "\t\t\t" + std::string(c.ccli);
    EXPECT_EQ(Expand(kFooter, record), c.shown) << record;
  }
}

TEST(PageTemplateTest, FieldGroupEdges) {
  EXPECT_EQ(Expand("<p>#$[, #$3#$4#$]#!", kRecord), "<p>Titel, D A G!");
  EXPECT_EQ(Expand("<p>#$[, #$3# tail", kRecord), "<p>Titel tail");  // open to the end; the tail stays
  EXPECT_EQ(Expand("<p>#$[, #$5#x#$]#", kRecord), "<p>x");           // text after the last field stays
  EXPECT_EQ(Expand("<p>#$[<br>#$3#$count#$]#", kRecord, 2), "<p>Titel<br>2\r\n");
  EXPECT_EQ(Expand("<p>#$[/#$5#$[-#$3#$4#$]#", kRecord), "<p>Titel-D A G");  // a new group ends the last
  EXPECT_EQ(Expand("<p>#$[, #$3##$4#$]#", kRecord), "<p>Titel");             // "##" still ends the template
}

TEST(PageTemplateTest, CountEndsItsLine) {
  EXPECT_EQ(Expand("<p>#$count#</p>", kRecord, 3), "<p>3\r\n</p>");
}

}  // namespace
}  // namespace psalmora
