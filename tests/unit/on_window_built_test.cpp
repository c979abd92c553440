// The address shown in 标签1 and how it is chosen.
#include "ui/on_window_built.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "cp936.h"
#include "dial/clock.h"
#include "fake_desktop.h"
#include "manual_clock.h"
#include "ui/local_addresses.h"

namespace quorvant {
namespace {

using test::Cp936;

// Four decimal numbers of 0 to 255 without leading zeros, joined by dots.
bool IsDottedIPv4(const Text& text) {
  int parts = 0;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t dot = std::min(text.find('.', at), text.size());
    const std::string part = text.substr(at, dot - at);
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
    if (!std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return false;
    }
    if (std::stoi(part) > 255) return false;
    ++parts;
    at = dot + 1;
  }
  return parts == 4;
}

TEST(IsDottedIPv4Test, TellsAddressesFromOtherTexts) {
  for (const char* good : {"192.168.1.23", "0.0.0.0", "255.255.255.255", "10.0.0.1"}) {
    EXPECT_TRUE(IsDottedIPv4(good)) << good;
  }
  for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.256", "01.2.3.4", "1..3.4", "a.b.c.d"}) {
    EXPECT_FALSE(IsDottedIPv4(bad)) << bad;
  }
}

class OnWindowBuiltTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }

  test::ManualClock clock{{2026, 3, 15, 12, 30, 45}};
  test::FakeDesktop desktop;
  test::ScopedDesktop installed{desktop};
};

TEST_F(OnWindowBuiltTest, ShowsTheFirstAddressThenPreparesDialling) {
  OnWindowBuilt();
  const std::vector<Text> addresses = ListLocalAddresses();
  EXPECT_EQ(LocalAddress, addresses.empty() ? Text() : addresses.front());
  // No space after the ASCII colon.
  EXPECT_EQ(desktop.Caption(Label::标签1), Cp936("手机输入IP:") + LocalAddress);

  const auto at = [&](const std::string& call) {
    return std::find(desktop.calls.begin(), desktop.calls.end(), call) - desktop.calls.begin();
  };
  ASSERT_LT(at("SetCaption(标签1)"), static_cast<long>(desktop.calls.size()));
  EXPECT_LT(at("SetCaption(标签1)"), at("RegisterDialHotkey"));
  EXPECT_EQ(desktop.hotkeyIdsAsked, std::vector<std::int32_t>{33001});
  EXPECT_EQ(DialHotkeyId, 33001);
  EXPECT_EQ(ElapsedSeconds(CurrentTime(), LastDialTime), 120);
  EXPECT_TRUE(desktop.WritesTo(Label::客户进入).empty());
  EXPECT_TRUE(desktop.WritesTo(Label::安全计时).empty());
}

TEST_F(OnWindowBuiltTest, ReplacesAnEarlierAddress) {
  LocalAddress = "203.0.113.7";
  OnWindowBuilt();
  EXPECT_NE(LocalAddress, "203.0.113.7");
  EXPECT_EQ(desktop.Caption(Label::标签1), Cp936("手机输入IP:") + LocalAddress);
}

TEST(ListLocalAddressesTest, GivesAtMostTenDottedAddresses) {
  const std::vector<Text> addresses = ListLocalAddresses();
  EXPECT_LE(addresses.size(), MAX_LOCAL_ADDRESSES);
  for (const Text& address : addresses) EXPECT_TRUE(IsDottedIPv4(address)) << address;
}

struct ChoiceCase {
  const char* name;
  std::vector<Text> resolved;
  std::vector<Text> interfaces;
  std::vector<Text> expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class ChooseLocalAddressesTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseLocalAddressesTest, PrefersTheResolverUnlessItKnowsOnlyLoopback) {
  const ChoiceCase& c = GetParam();
  EXPECT_EQ(ChooseLocalAddresses(c.resolved, c.interfaces), c.expected);
}

std::vector<Text> Numbered(const char* prefix, int count) {
  std::vector<Text> addresses;
  for (int i = 1; i <= count; ++i) addresses.push_back(prefix + std::to_string(i));
  return addresses;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseLocalAddressesTest,
    ::testing::Values(
        ChoiceCase{"the resolver's addresses, in its order",
                   {"192.168.1.23", "10.0.0.5"},
                   {"172.16.0.1"},
                   {"192.168.1.23", "10.0.0.5"}},
        ChoiceCase{"a resolver list with a reachable address is kept whole",
                   {"127.0.1.1", "192.168.1.23"},
                   {"172.16.0.1"},
                   {"127.0.1.1", "192.168.1.23"}},
        ChoiceCase{"only loopback from the resolver: the interfaces",
                   {"127.0.1.1"},
                   {"192.0.2.10", "172.16.0.1"},
                   {"192.0.2.10", "172.16.0.1"}},
        ChoiceCase{"nothing from the resolver: the interfaces", {}, {"192.0.2.10"}, {"192.0.2.10"}},
        ChoiceCase{"nothing at all", {}, {}, {}},
        ChoiceCase{"at most ten from the resolver",
                   Numbered("10.0.0.", 12),
                   {"192.0.2.10"},
                   Numbered("10.0.0.", 10)},
        ChoiceCase{"at most ten from the interfaces",
                   {"127.0.1.1"},
                   Numbered("10.1.0.", 11),
                   Numbered("10.1.0.", 10)}));

}  // namespace
}  // namespace quorvant
