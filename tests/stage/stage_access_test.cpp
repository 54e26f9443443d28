#include "stage/stage_access.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

using namespace std::chrono_literals;

struct Door {
  std::chrono::steady_clock::time_point now{};
  StageAccess access{"4711", [this] { return now; }};
};

TEST(StageAccessTest, RightPinOpensASession) {
  Door door;
  const StageAccess::LoginResult result = door.access.Login("10.0.0.2", "4711");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.token.size(), 32u);
  EXPECT_TRUE(door.access.HasSession(result.token));
  EXPECT_FALSE(door.access.HasSession("0123456789abcdef0123456789abcdef"));
  EXPECT_FALSE(door.access.HasSession(""));
  door.access.Logout(result.token);
  EXPECT_FALSE(door.access.HasSession(result.token));
}

TEST(StageAccessTest, WrongPinsWaitLongerEachTime) {
  Door door;
  for (const std::chrono::milliseconds expected : {1000ms, 2000ms, 4000ms, 8000ms}) {
    const StageAccess::LoginResult wrong = door.access.Login("10.0.0.2", "1234");
    EXPECT_FALSE(wrong.ok);
    EXPECT_EQ(wrong.wait, expected);
    // Even the right PIN is refused until the wait has passed, so parallel guesses gain nothing.
    EXPECT_FALSE(door.access.Login("10.0.0.2", "4711").ok);
    door.now += expected;
  }
  EXPECT_TRUE(door.access.Login("10.0.0.2", "4711").ok);
  // The right PIN cleared the count.
  EXPECT_EQ(door.access.Login("10.0.0.2", "0000").wait, 1000ms);
}

TEST(StageAccessTest, OtherAddressesAreNotHeldUp) {
  Door door;
  EXPECT_FALSE(door.access.Login("10.0.0.2", "47").ok);
  EXPECT_TRUE(door.access.Login("10.0.0.3", "4711").ok);
}

TEST(StageAccessTest, PinsThatOnlyStartRightAreWrong) {
  Door door;
  for (const char* pin : {"471", "47111", "", "4711 "}) {
    door.now += 10min;
    EXPECT_FALSE(door.access.Login("a", pin).ok) << pin;
  }
}

TEST(StageAccessTest, WithoutAPinNobodyGetsIn) {
  StageAccess access("");
  EXPECT_FALSE(access.Login("a", "").ok);
}

TEST(StageAccessTest, TheDelayStopsGrowingAtFiveMinutes) {
  EXPECT_EQ(StageAccess::DelayAfter(0), 0ms);
  EXPECT_EQ(StageAccess::DelayAfter(9), 256000ms);
  EXPECT_EQ(StageAccess::DelayAfter(10), std::chrono::milliseconds(5min));
  EXPECT_EQ(StageAccess::DelayAfter(1000), std::chrono::milliseconds(5min));
}

}  // namespace
}  // namespace psalmora
