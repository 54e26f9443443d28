// The id lists and compare lists of requests.
#include "server/item_wire.h"

#include <gtest/gtest.h>

namespace psalmora::server {
namespace {

TEST(IsUsableGlobalId, RefusesIdsThatWouldBreakTheLists) {
  const struct {
    std::string id;
    bool usable;
  } cases[] = {
      {"0123456789abcdef0123456789abcdef", true},
      {"alt_42.x", true},
      {std::string(100, 'a'), true},
      {std::string(101, 'a'), false},
      {"", false},
      {"a-b", false},
      {"a|b", false},
      {"a,b", false},
      {"a[b", false},
      {"a b", false},
      {"a\tb", false},
      {std::string("a\0b", 3), false},
  };
  for (const auto& test : cases) EXPECT_EQ(IsUsableGlobalId(test.id), test.usable) << test.id;
}

TEST(SplitLists, SkipEmptyAndUnusableParts) {
  EXPECT_EQ(SplitGlobalIds("g1|g2||a-b|g1|g3|"), (std::vector<std::string>{"g1", "g2", "g3"}));
  EXPECT_EQ(SplitGlobalIds(""), std::vector<std::string>{});

  const std::vector<ChangeStamp> stamps =
      SplitStampList("g1-05.03.2018-14:07[spalte]g2-[spalte][spalte]-5[spalte]g3[spalte]g4-1520258820");
  ASSERT_EQ(stamps.size(), 4u);
  EXPECT_EQ(stamps[0].globalId, "g1");
  EXPECT_EQ(stamps[0].changedAt, "05.03.2018-14:07");
  EXPECT_EQ(stamps[1].changedAt, "");
  EXPECT_EQ(stamps[2].globalId, "g3");
  EXPECT_EQ(stamps[3].changedAt, "1520258820");
}

}  // namespace
}  // namespace psalmora::server
