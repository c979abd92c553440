// PhoneList and the label 客户进入, driven by real phone connections to the
// server unit 服务器1 on loopback. Phones connect from addresses of their own
// (127.0.0.2, 127.0.0.5, ...), as phones on a LAN would.
#include "link/phone_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "cp936.h"
#include "server_unit_fixture.h"

namespace quorvant {
namespace {

using test::Cp936;

Text ConnectedCaption(int count) {
  return Cp936("手机已连接！连接数：") + std::to_string(count) + Cp936("个");
}
Text DisconnectedCaption(int count) {
  return Cp936("手机已断开！连接数：") + std::to_string(count) + Cp936("个");
}

class PhoneListTest : public test::ServerUnitTest {
 protected:
  // The label shows `caption` in `colour`, and the last event wrote the
  // caption first and the colour after it.
  void ExpectShown(const Text& caption, Colour colour) {
    EXPECT_EQ(desktop.Caption(Label::客户进入), caption);
    EXPECT_EQ(desktop.TextColour(Label::客户进入), colour);
    const auto writes = desktop.WritesTo(Label::客户进入);
    ASSERT_GE(writes.size(), 2u);
    const auto& captionWrite = writes[writes.size() - 2];
    const auto& colourWrite = writes.back();
    EXPECT_TRUE(captionWrite.isCaption);
    EXPECT_EQ(captionWrite.caption, caption);
    EXPECT_FALSE(colourWrite.isCaption);
    EXPECT_EQ(colourWrite.colour, colour);
  }
};

TEST_F(PhoneListTest, FirstPhoneIsListedAndShownInBlack) {
  // Before any phone event the label keeps its first caption.
  EXPECT_EQ(desktop.Caption(Label::客户进入), Cp936("与手机连接状态"));
  const auto phone = ConnectPhone("127.0.0.2");
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{phone->Id()});
  EXPECT_EQ(desktop.Caption(Label::客户进入),
            "\xCA\xD6\xBB\xFA\xD2\xD1\xC1\xAC\xBD\xD3\xA3\xA1\xC1\xAC\xBD\xD3\xCA\xFD\xA3\xBA"
            "1\xB8\xF6");
  ExpectShown(ConnectedCaption(1), COLOUR_BLACK);
  EXPECT_EQ(desktop.WritesTo(Label::客户进入).size(), 2u);
}

TEST_F(PhoneListTest, SamePhoneFromANewPortReplacesItsEntry) {
  const auto first = ConnectPhone("127.0.0.2");
  const auto again = ConnectPhone("127.0.0.2");
  ASSERT_NE(first->Id(), again->Id());
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{again->Id()});
  ExpectShown(ConnectedCaption(1), COLOUR_BLACK);
}

TEST_F(PhoneListTest, SecondPhoneIsAppendedAndAReconnectionStaysInPlace) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  EXPECT_EQ(PhoneList, (std::vector<PhoneId>{a->Id(), b->Id()}));
  ExpectShown(ConnectedCaption(2), COLOUR_BLACK);

  // The first phone comes back from a new port: position 1 is updated, and
  // the second phone stays last, so dials still go to it.
  const auto aAgain = ConnectPhone("127.0.0.2");
  EXPECT_EQ(PhoneList, (std::vector<PhoneId>{aAgain->Id(), b->Id()}));
  ExpectShown(ConnectedCaption(2), COLOUR_BLACK);
}

TEST_F(PhoneListTest, AddressesAreComparedWhole) {
  // 127.0.0.5 occurs inside 127.0.0.55 and 127.0.0.50, yet they are
  // different phones.
  const auto fiftyFive = ConnectPhone("127.0.0.55");
  const auto five = ConnectPhone("127.0.0.5");
  const auto fifty = ConnectPhone("127.0.0.50");
  EXPECT_EQ(PhoneList, (std::vector<PhoneId>{fiftyFive->Id(), five->Id(), fifty->Id()}));
  ExpectShown(ConnectedCaption(3), COLOUR_BLACK);

  const auto fiveAgain = ConnectPhone("127.0.0.5");
  EXPECT_EQ(PhoneList, (std::vector<PhoneId>{fiftyFive->Id(), fiveAgain->Id(), fifty->Id()}));
}

TEST_F(PhoneListTest, MiddlePhoneLeavesAndTheRestKeepTheirOrder) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  const auto c = ConnectPhone("127.0.0.4");
  Disconnect(*b);
  EXPECT_EQ(PhoneList, (std::vector<PhoneId>{a->Id(), c->Id()}));
  ExpectShown(DisconnectedCaption(2), COLOUR_GREY);
}

TEST_F(PhoneListTest, FirstPhoneLeaves) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  Disconnect(*a);
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{b->Id()});
  ExpectShown(DisconnectedCaption(1), COLOUR_GREY);
}

TEST_F(PhoneListTest, DuplicateEntriesLeaveTogether) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  // Whole-address matching never lists one id twice; a list that does
  // (A, A, B) must still lose every copy when A goes.
  PhoneList = {a->Id(), a->Id(), b->Id()};
  Disconnect(*a);
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{b->Id()});
  ExpectShown(DisconnectedCaption(1), COLOUR_GREY);
}

TEST_F(PhoneListTest, DepartureNotInTheListTurnsGreyWithTheSameCount) {
  // The phone reconnected before its old connection's close was seen: the
  // entry already names the new connection, so the old one removes nothing.
  const auto old = ConnectPhone("127.0.0.2");
  const auto fresh = ConnectPhone("127.0.0.2");
  Disconnect(*old);
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{fresh->Id()});
  ExpectShown(DisconnectedCaption(1), COLOUR_GREY);

  // And back to black with the next arrival.
  const auto other = ConnectPhone("127.0.0.3");
  ExpectShown(ConnectedCaption(2), COLOUR_BLACK);
}

TEST_F(PhoneListTest, LastPhoneLeavingShowsZero) {
  const auto a = ConnectPhone("127.0.0.2");
  Disconnect(*a);
  EXPECT_TRUE(PhoneList.empty());
  ExpectShown(DisconnectedCaption(0), COLOUR_GREY);
}

TEST_F(PhoneListTest, PhoneThatDropsOffWithAResetLeavesToo) {
  const auto a = ConnectPhone("127.0.0.2");
  const auto b = ConnectPhone("127.0.0.3");
  const PhoneId gone = b->Id();
  b->Reset();
  ASSERT_TRUE(events.RunUntil([&] { return !test::ServerHolds(gone); }, 5000));
  EXPECT_EQ(PhoneList, std::vector<PhoneId>{a->Id()});
  ExpectShown(DisconnectedCaption(1), COLOUR_GREY);
}

TEST_F(PhoneListTest, CountsPastNine) {
  std::vector<std::unique_ptr<test::LoopbackPhone>> phones;
  for (int i = 0; i < 12; ++i) phones.push_back(ConnectPhone("127.0.1." + std::to_string(i + 1)));
  EXPECT_EQ(PhoneList.size(), 12u);
  ExpectShown(ConnectedCaption(12), COLOUR_BLACK);
}

}  // namespace
}  // namespace quorvant
