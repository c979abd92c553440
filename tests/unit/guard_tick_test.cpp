// The countdown label 安全计时 against a clock that the test moves.
#include "dial/guard_tick.h"

#include <gtest/gtest.h>

#include <string>

#include "app/shared_state.h"
#include "cp936.h"
#include "dial/clock.h"
#include "dial/dial_command.h"
#include "fake_desktop.h"
#include "manual_clock.h"

namespace quorvant {
namespace {

using test::Cp936;
using test::FakeDesktop;
using test::ManualClock;

Text Safe() { return Cp936("安全"); }
Text Wait(long long seconds) { return Cp936("等待") + std::to_string(seconds) + Cp936("秒"); }

class GuardTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    // An accepted dial on second s.
    LastDialTime = CurrentTime();
  }
  void TearDown() override { ResetSharedState(); }

  void ClockAt(long long offsetFromDial) {
    clock.Set(ManualClock::Shifted(dialSecond, offsetFromDial));
  }
  Text Tick() {
    GuardTick();
    return desktop.Caption(Label::安全计时);
  }

  const WallClockReading dialSecond{2026, 3, 15, 12, 30, 45};
  ManualClock clock{dialSecond};
  FakeDesktop desktop;
  test::ScopedDesktop installed{desktop};
};

TEST_F(GuardTickTest, CountsDownFromTenAfterADial) {
  for (long long k = 0; k <= 9; ++k) {
    ClockAt(k);
    EXPECT_EQ(Tick(), Wait(10 - k)) << "clock at s+" << k;
  }
  ClockAt(10);
  EXPECT_EQ(Tick(), Safe());
  ClockAt(11);
  EXPECT_EQ(Tick(), Safe());
}

TEST_F(GuardTickTest, WritesTheCaptionOnEveryTick) {
  ClockAt(3);
  for (int tick = 0; tick < 4; ++tick) EXPECT_EQ(Tick(), Wait(7));
  ClockAt(30);
  for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(Tick(), Safe());
  EXPECT_EQ(desktop.WritesTo(Label::安全计时).size(), 7u);
  EXPECT_TRUE(desktop.WritesTo(Label::客户进入).empty());
}

TEST_F(GuardTickTest, ClockSetBackSixtySecondsRightAfterADial) {
  const struct {
    long long offset;
    Text caption;
  } cases[] = {
      {-60, Wait(69)}, {-59, Wait(68)}, {-3, Wait(12)}, {-2, Wait(11)}, {-1, Wait(10)},
      {0, Wait(10)},   {1, Wait(9)},    {9, Wait(1)},   {10, Safe()},
  };
  for (const auto& c : cases) {
    ClockAt(c.offset);
    EXPECT_EQ(Tick(), c.caption) << "clock at s" << (c.offset < 0 ? "" : "+") << c.offset;
  }
}

TEST_F(GuardTickTest, ClockSetBackOneDayShowsADayAndNineSeconds) {
  ClockAt(-86400);
  EXPECT_EQ(Tick(), Wait(86409));
  ClockAt(-86399);
  EXPECT_EQ(Tick(), Wait(86408));
}

TEST_F(GuardTickTest, ClockSetBackLongAfterTheLastDialLeavesSafe) {
  ClockAt(3600);
  EXPECT_EQ(Tick(), Safe());
  ClockAt(-5);
  EXPECT_EQ(Tick(), Wait(14));
}

TEST_F(GuardTickTest, ClockSetForwardShortensOrEndsTheWait) {
  ClockAt(2);
  EXPECT_EQ(Tick(), Wait(8));
  ClockAt(7);  // five seconds forward
  EXPECT_EQ(Tick(), Wait(3));
  ClockAt(100);
  EXPECT_EQ(Tick(), Safe());
}

TEST_F(GuardTickTest, TheNumberComesFromASecondReading) {
  // The second turns between the guard test (s+9) and the second reading
  // (s+10): the label shows a wait of 0 until the next tick.
  ClockAt(9);
  clock.StepAfterEachReading(1);
  EXPECT_EQ(Tick(), Wait(0));
  EXPECT_EQ(Tick(), Safe());
}

TEST_F(GuardTickTest, ShowsSafeRightAfterPrepareDialling) {
  PrepareDialling();
  EXPECT_EQ(Tick(), Safe());
}

TEST_F(GuardTickTest, ChangesNoState) {
  const Timestamp before = LastDialTime;
  ClockAt(4);
  Tick();
  ClockAt(40);
  Tick();
  EXPECT_EQ(LastDialTime, before);
  EXPECT_TRUE(PhoneList.empty());
}

}  // namespace
}  // namespace quorvant
