// The dial command and its triggers, with a fake desktop (clipboard and
// number box), a clock the test moves, and real phones on loopback.
#include "dial/dial_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shared_state.h"
#include "cp936.h"
#include "dial/clock.h"
#include "manual_clock.h"
#include "server_unit_fixture.h"
#include "ui/units.h"

namespace quorvant {
namespace {

using test::Cp936;
using test::FakeDesktop;
using test::ManualClock;

// How long a phone listens for bytes that should not come.
constexpr int QUIET_MILLISECONDS = 150;
constexpr int ARRIVAL_MILLISECONDS = 3000;

const WallClockReading START{2026, 3, 15, 12, 30, 45};

class PrepareDiallingTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }

  ManualClock clock{START};
  FakeDesktop desktop;
  test::ScopedDesktop installed{desktop};
};

TEST_F(PrepareDiallingTest, RegistersTheHotKeyAndPutsTheLastDialTwoMinutesBack) {
  PrepareDialling();
  EXPECT_EQ(desktop.hotkeyIdsAsked, std::vector<std::int32_t>{33001});
  EXPECT_EQ(DialHotkeyId, 33001);
  EXPECT_NEAR(LastDialTime, TimestampOf(ManualClock::Shifted(START, -120)), 1e-9);
  EXPECT_EQ(ElapsedSeconds(CurrentTime(), LastDialTime), 120);
}

TEST_F(PrepareDiallingTest, ARefusedHotKeyLeavesTheIdAtZero) {
  desktop.hotkeyAccepted = false;
  PrepareDialling();
  EXPECT_EQ(desktop.hotkeyIdsAsked, std::vector<std::int32_t>{33001});
  EXPECT_EQ(DialHotkeyId, 0);
  EXPECT_EQ(ElapsedSeconds(CurrentTime(), LastDialTime), 120);
}

class DialCommandTest : public test::ServerUnitTest {
 protected:
  void SetUp() override {
    ServerUnitTest::SetUp();
    PrepareDialling();
  }

  void ClockAt(long long offsetFromStart) {
    clock.Set(ManualClock::Shifted(START, offsetFromStart));
  }
  // True when `phone` gets nothing more for a moment.
  static bool Quiet(test::LoopbackPhone& phone) {
    return phone.Receive(1, QUIET_MILLISECONDS).empty();
  }

  ManualClock clock{START};
};

TEST_F(DialCommandTest, FirstDialAfterPreparingGoesOutByteForByte) {
  const auto phone = ConnectPhone("127.0.0.2");
  desktop.clipboard = "13800138000";
  DialCommand();
  EXPECT_EQ(desktop.editText, "13800138000");
  EXPECT_EQ(phone->Receive(11, ARRIVAL_MILLISECONDS), "13800138000");
  EXPECT_TRUE(Quiet(*phone));
  EXPECT_EQ(LastDialTime, TimestampOf(START));
}

TEST_F(DialCommandTest, SendsAnyTextUnchanged) {
  const auto phone = ConnectPhone("127.0.0.2");
  // Letters, spaces, line breaks and double-byte characters: no digit
  // check, no trimming, no terminator.
  const Text number = Cp936("张三 13800138000\r\n 分机 8 ");
  ASSERT_EQ(number.substr(0, 5), "\xD5\xC5\xC8\xFD ");
  desktop.clipboard = number;
  DialCommand();
  EXPECT_EQ(phone->Receive(number.size(), ARRIVAL_MILLISECONDS), number);
  EXPECT_TRUE(Quiet(*phone));
}

TEST_F(DialCommandTest, WithoutAPhoneOnlyPastes) {
  const Timestamp before = LastDialTime;
  desktop.editText = "13912345678";
  desktop.clipboard = "10086";
  DialCommand();
  EXPECT_EQ(desktop.editText, "10086");
  EXPECT_EQ(LastDialTime, before);
}

TEST_F(DialCommandTest, AnEmptyClipboardEmptiesTheBoxAndSendsNothing) {
  const auto phone = ConnectPhone("127.0.0.2");
  const Timestamp before = LastDialTime;
  desktop.editText = "13912345678";  // a number typed by hand
  desktop.clipboard = "";
  DialCommand();
  EXPECT_EQ(desktop.editText, "");
  EXPECT_EQ(LastDialTime, before);
  EXPECT_TRUE(Quiet(*phone));
}

TEST_F(DialCommandTest, ANumberTypedByHandIsReplacedByTheClipboard) {
  const auto phone = ConnectPhone("127.0.0.2");
  desktop.editText = "13912345678";
  desktop.clipboard = "10086";
  DialCommand();
  EXPECT_EQ(desktop.editText, "10086");
  EXPECT_EQ(phone->Receive(5, ARRIVAL_MILLISECONDS), "10086");
  EXPECT_TRUE(Quiet(*phone));
}

TEST_F(DialCommandTest, TheGuardRefusesWithoutRestartingTheWait) {
  const auto phone = ConnectPhone("127.0.0.2");
  desktop.clipboard = "111";
  DialCommand();
  ASSERT_EQ(phone->Receive(3, ARRIVAL_MILLISECONDS), "111");
  const Timestamp firstDial = LastDialTime;

  // 5 and 9 seconds later: pasted, not sent, the wait not restarted.
  for (long long offset : {5, 9}) {
    ClockAt(offset);
    desktop.clipboard = "222";
    desktop.editText = "";
    DialCommand();
    EXPECT_EQ(desktop.editText, "222");
    EXPECT_EQ(LastDialTime, firstDial) << "at s+" << offset;
    EXPECT_TRUE(Quiet(*phone)) << "at s+" << offset;
  }

  // 10 whole seconds after the first dial the next one goes out.
  ClockAt(10);
  desktop.clipboard = "333";
  DialCommand();
  EXPECT_EQ(phone->Receive(3, ARRIVAL_MILLISECONDS), "333");
  EXPECT_EQ(LastDialTime, TimestampOf(ManualClock::Shifted(START, 10)));
}

TEST_F(DialCommandTest, OnlyTheLastListedPhoneReceives) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  const auto c = ConnectPhone("127.0.0.4");
  ASSERT_EQ(PhoneList.back(), c->Id());
  desktop.clipboard = "13800138000";
  DialCommand();
  EXPECT_EQ(c->Receive(11, ARRIVAL_MILLISECONDS), "13800138000");
  EXPECT_TRUE(Quiet(*a));
  EXPECT_TRUE(Quiet(*b));
}

TEST_F(DialCommandTest, AFailedSendStillStartsTheWait) {
  const auto phone = ConnectPhone("127.0.0.2");
  // The last entry names no open connection.
  PhoneList.push_back("127.0.0.9:9");
  desktop.clipboard = "13800138000";
  DialCommand();
  EXPECT_EQ(LastDialTime, TimestampOf(START));
  EXPECT_TRUE(Quiet(*phone));

  // With the list mended the next dial still has to wait.
  PhoneList.pop_back();
  ClockAt(5);
  DialCommand();
  EXPECT_TRUE(Quiet(*phone));
  ClockAt(10);
  DialCommand();
  EXPECT_EQ(phone->Receive(11, ARRIVAL_MILLISECONDS), "13800138000");
}

TEST_F(DialCommandTest, APhoneThatTakesNoDataHoldsTheDialOnlyBriefly) {
  const auto phone = ConnectPhone("127.0.0.2");
  // The phone stops reading; fill what the connection can hold.
  const std::string flood(64 << 20, '7');
  EXPECT_FALSE(服务器1()->SendData(phone->Id(), flood, 1));

  ClockAt(60);
  desktop.clipboard = "13800138000";
  DialCommand();  // returns after the send's time-out, not after 50 minutes
  EXPECT_EQ(LastDialTime, TimestampOf(ManualClock::Shifted(START, 60)));
  EXPECT_TRUE(test::ServerHolds(phone->Id()));
}

TEST_F(DialCommandTest, TheHotKeyDialsOnlyWithItsOwnId) {
  const auto phone = ConnectPhone("127.0.0.2");
  ASSERT_EQ(DialHotkeyId, 33001);
  desktop.clipboard = "13800138000";
  desktop.editText = "13912345678";

  HotkeyFeedback(33002, 0);
  HotkeyFeedback(0, 33001);
  EXPECT_EQ(desktop.editText, "13912345678");  // nothing pasted: the command did not run
  EXPECT_TRUE(Quiet(*phone));

  desktop.editText = "";
  HotkeyFeedback(33001, 0);
  EXPECT_EQ(desktop.editText, "13800138000");
  EXPECT_EQ(phone->Receive(11, ARRIVAL_MILLISECONDS), "13800138000");
}

TEST_F(DialCommandTest, WithTheHotKeyRefusedNoFeedbackDials) {
  const auto phone = ConnectPhone("127.0.0.2");
  ResetSharedState();
  PhoneList.push_back(phone->Id());
  desktop.hotkeyAccepted = false;
  PrepareDialling();
  ASSERT_EQ(DialHotkeyId, 0);
  desktop.clipboard = "13800138000";
  desktop.editText = "";

  HotkeyFeedback(0, 0);
  HotkeyFeedback(33001, 0);
  EXPECT_EQ(desktop.editText, "");
  EXPECT_TRUE(Quiet(*phone));

  // The button still works.
  DialCommand();
  EXPECT_EQ(phone->Receive(11, ARRIVAL_MILLISECONDS), "13800138000");
}

}  // namespace
}  // namespace quorvant
