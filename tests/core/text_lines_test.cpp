#include "core/text_lines.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, AcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextLines, WritesCrLfAfterEveryLine) {
  EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLinesCrLf({}), "");
  EXPECT_EQ(SplitLines(JoinLinesCrLf({"x", "y"})), (Lines{"x", "y"}));
}

}  // namespace
}  // namespace psalmora
