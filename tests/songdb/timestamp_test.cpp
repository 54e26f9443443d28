#include "songdb/timestamp.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>

namespace psalmora {
namespace {

TEST(FormatTimestamp, PadsEveryPartAndReadsTheValueAsUtc) {
  EXPECT_EQ(FormatTimestamp(1520258820), "05.03.2018-14:07");  // 2018-03-05 14:07 UTC
  EXPECT_EQ(FormatTimestamp(1520240700), "05.03.2018-09:05");
  EXPECT_EQ(FormatTimestamp(1520240759), "05.03.2018-09:05");  // seconds are not written
  EXPECT_EQ(FormatTimestamp(1), "01.01.1970-00:00");
  EXPECT_EQ(FormatTimestamp(4102444799LL), "31.12.2099-23:59");
}

TEST(FormatTimestamp, ZeroMeansNow) {
  const long long before = CurrentTimeValue();
  const std::string now = FormatTimestamp(0);
  const long long after = CurrentTimeValue();
  EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d\d\.\d\d\.\d{4}-\d\d:\d\d)"))) << now;
  EXPECT_TRUE(now == FormatTimestamp(before) || now == FormatTimestamp(after));
}

TEST(CurrentTimeValue, IsSecondsSince1970) {
  EXPECT_NEAR(static_cast<double>(CurrentTimeValue()), static_cast<double>(std::time(nullptr)), 2.0);
}

}  // namespace
}  // namespace psalmora
