#include "render/slides.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

using Lines = std::vector<std::string>;

TEST(ChooseSlideTest, BlocksEndWithTheirSeparator) {
  const Lines all{"a", "b", "-", "c", "", "d"};
  EXPECT_EQ(ChooseSlide(all, 1).lines, (Lines{"a", "b", "-"}));
  EXPECT_EQ(ChooseSlide(all, 2).lines, (Lines{"c", "-"}));  // the empty line became a separator
  EXPECT_EQ(ChooseSlide(all, 3).lines, (Lines{"d"}));
  EXPECT_EQ(ChooseSlide(all, 3).blockCount, 3);
}

TEST(ChooseSlideTest, BlankLinesDoNotStartASlideAndPastTheEndIsEmpty) {
  const Lines all{"a", "  ", "b"};
  EXPECT_EQ(ChooseSlide(all, 1).lines, all);
  EXPECT_EQ(ChooseSlide(all, 1).blockCount, 1);
  EXPECT_TRUE(ChooseSlide(all, 2).lines.empty());
}

TEST(ChooseSlideTest, TrailingSeparatorCountsAnotherBlock) {
  EXPECT_EQ(ChooseSlide({"a", "-"}, 1).blockCount, 2);
  EXPECT_EQ(ChooseSlide({}, 1).blockCount, 1);
}

}  // namespace
}  // namespace psalmora
