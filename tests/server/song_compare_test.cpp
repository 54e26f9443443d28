// Change dates as times, and which side's version of an item is newer.
#include "server/song_compare.h"

#include <gtest/gtest.h>

namespace psalmora::server {
namespace {

TEST(ParseChangeTime, ReadsStampsAndSeconds) {
  const struct {
    const char* text;
    std::optional<std::int64_t> seconds;
  } cases[] = {
      {"05.03.2018-14:07", 1520258820},
      {"5.3.2018-14:07", 1520258820},
      {"1520258820", 1520258820},
      {"29.02.2000-00:00", 951782400},
      {"0", 0},
      {"", std::nullopt},
      {"30.02.2018-10:00", std::nullopt},
      {"05.03.2018-24:00", std::nullopt},
      {"05.03.2018-14:07:33", std::nullopt},
      {"05.03.2018", std::nullopt},
      {"-5", std::nullopt},
      {"1234567890123456", std::nullopt},
      {"gestern", std::nullopt},
  };
  for (const auto& test : cases) EXPECT_EQ(ParseChangeTime(test.text), test.seconds) << test.text;
}

TEST(CompareChangeDates, LaterTimeWinsAndTheServiceWinsWhenUnreadable) {
  const struct {
    const char* client;
    const char* service;
    Newer newer;
  } cases[] = {
      {"05.03.2018-14:07", "05.03.2018-14:07", Newer::kNeither},
      {"05.03.2018-14:08", "05.03.2018-14:07", Newer::kClient},
      {"05.03.2018-14:06", "05.03.2018-14:07", Newer::kService},
      {"05.03.2018-14:07", "1520258820", Newer::kNeither},
      {"1520258821", "05.03.2018-14:07", Newer::kClient},
      {"heute", "gestern", Newer::kService},
      {"", "05.03.2018-14:07", Newer::kService},
      {"05.03.2018-14:07", "", Newer::kService},
      {"", "", Newer::kNeither},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(CompareChangeDates(test.client, test.service), test.newer) << test.client << " / " << test.service;
  }
}

}  // namespace
}  // namespace psalmora::server
