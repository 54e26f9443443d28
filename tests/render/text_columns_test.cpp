#include "render/text_columns.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(TextColumnsTest, ANumericReferenceIsOneColumn) {
  struct Case {
    std::string_view text;
    std::size_t columns;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"&#322;", 1},                        // ł as the store writes it
      {"Wi&#281;c", 4},                     // Więc
      {"&#x142;&#X142;", 2},                // hexadecimal references
      {"&#1041;&#1086;&#1078;&#1077;", 4},  // Боже
      {"&nbsp;", 6},                        // named entities are not what the store writes for a character
      {"&#;", 3},                           // no digits
      {"&#x;", 4},
      {"&#322", 5},   // no closing ";"
      {"&#32a;", 6},  // "a" is no decimal digit
      {"&&#322;", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(ColumnCount(c.text), c.columns) << c.text;
}

TEST(TextColumnsTest, RangesNeverCutAReference) {
  const std::string_view text = "a&#322;b&#x142;c";
  EXPECT_EQ(ColumnRange(text, 1, 3), "a&#322;");
  EXPECT_EQ(ColumnRange(text, 2, 4), "&#322;b");
  EXPECT_EQ(ColumnRange(text, 4, std::string_view::npos), "&#x142;c");
  EXPECT_EQ(ColumnRange(text, 6, std::string_view::npos), "");
  EXPECT_EQ(ColumnRange(text, 3, 3), "");
}

}  // namespace
}  // namespace psalmora
