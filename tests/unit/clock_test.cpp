// Timestamps, the elapsed-seconds rule and the 10-second guard.
#include "dial/clock.h"

#include <gtest/gtest.h>

#include <ostream>

#include "app/shared_state.h"
#include "dial/dial_command.h"
#include "manual_clock.h"

namespace quorvant {
namespace {

using test::ManualClock;

struct TimestampCase {
  const char* name;
  WallClockReading reading;
  double expected;
};

void PrintTo(const TimestampCase& c, std::ostream* os) { *os << c.name; }

class TimestampOfTest : public ::testing::TestWithParam<TimestampCase> {};

TEST_P(TimestampOfTest, CountsDaysFrom1899_12_30) {
  EXPECT_DOUBLE_EQ(TimestampOf(GetParam().reading), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    KnownDates, TimestampOfTest,
    ::testing::Values(
        TimestampCase{"the epoch", {1899, 12, 30, 0, 0, 0}, 0.0},
        TimestampCase{"1900-01-01", {1900, 1, 1, 0, 0, 0}, 2.0},
        TimestampCase{"noon of the epoch", {1899, 12, 30, 12, 0, 0}, 0.5},
        TimestampCase{"1970-01-01", {1970, 1, 1, 0, 0, 0}, 25569.0},
        TimestampCase{"a leap day", {2000, 2, 29, 6, 0, 0}, 36585.25},
        TimestampCase{"a 2026 afternoon", {2026, 3, 15, 12, 30, 45}, 46096.0 + 45045.0 / 86400.0},
        TimestampCase{
            "the last second of a day", {2026, 3, 15, 23, 59, 59}, 46096.0 + 86399.0 / 86400.0}));

// Whole seconds between two real timestamps d seconds apart: d when d >= 0,
// d + 1 when d < 0.
class ElapsedSecondsTest : public ::testing::TestWithParam<std::pair<long long, int>> {};

TEST_P(ElapsedSecondsTest, FollowsTheRoundingRule) {
  const auto [difference, expected] = GetParam();
  const WallClockReading bases[] = {
      {2026, 3, 15, 12, 30, 45},
      {2024, 12, 31, 23, 59, 55},  // the difference crosses a year
      {1999, 2, 28, 23, 59, 59},
      {2099, 6, 1, 0, 0, 0},
  };
  for (const WallClockReading& earlier : bases) {
    const WallClockReading later = ManualClock::Shifted(earlier, difference);
    EXPECT_EQ(ElapsedSeconds(TimestampOf(later), TimestampOf(earlier)), expected)
        << "from " << earlier.year << "-" << earlier.month << "-" << earlier.day << " "
        << earlier.hour << ":" << earlier.minute << ":" << earlier.second;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Differences, ElapsedSecondsTest,
    ::testing::Values(std::pair<long long, int>{125, 125}, std::pair<long long, int>{10, 10},
                      std::pair<long long, int>{9, 9}, std::pair<long long, int>{0, 0},
                      std::pair<long long, int>{-1, 0}, std::pair<long long, int>{-2, -1},
                      std::pair<long long, int>{-3600, -3599},
                      std::pair<long long, int>{86400, 86400},
                      std::pair<long long, int>{-86400, -86399}));

TEST(ElapsedSecondsWrapTest, KeepsTheLow32BitsOfLongSpans) {
  // From the zero timestamp to 2026-03-15 12:30:45 is 3982739445 seconds,
  // which does not fit in 32 signed bits.
  const Timestamp later = TimestampOf({2026, 3, 15, 12, 30, 45});
  EXPECT_EQ(ElapsedSeconds(later, 0.0), static_cast<std::int32_t>(3982739445LL - 4294967296LL));
}

class DialGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    LastDialTime = CurrentTime();
  }
  void TearDown() override { ResetSharedState(); }

  const WallClockReading dialSecond{2026, 3, 15, 12, 30, 45};
  ManualClock clock{dialSecond};
};

TEST_F(DialGuardTest, OpensOnTheTenthWholeSecond) {
  const struct {
    long long offset;
    bool passed;
  } cases[] = {{0, false},  {1, false},  {9, false},  {10, true},  {11, true},
               {125, true}, {-1, false}, {-2, false}, {-60, false}};
  for (const auto& c : cases) {
    clock.Set(ManualClock::Shifted(dialSecond, c.offset));
    EXPECT_EQ(DialGuardPassed(), c.passed) << "clock at s" << (c.offset < 0 ? "" : "+") << c.offset;
  }
}

TEST_F(DialGuardTest, ReadsTheClockOnce) {
  // Were the clock read twice, the second reading would be a day later.
  clock.Set(ManualClock::Shifted(dialSecond, 9));
  clock.StepAfterEachReading(86400);
  EXPECT_FALSE(DialGuardPassed());
}

}  // namespace
}  // namespace quorvant
