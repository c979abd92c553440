// The conversions at the Win32 edge: what the clipboard and the edit box hold
// (UTF-16) against what the program keeps and sends (CP936 bytes).
#include "platform/win32/cp936.h"

#include <gtest/gtest.h>

#include <string>

#include "app/texts.h"

namespace quorvant::win32 {
namespace {

struct ToCp936Case {
  const char* name;
  std::wstring wide;
  std::string bytes;
};

class Cp936FromWideTest : public ::testing::TestWithParam<ToCp936Case> {};

TEST_P(Cp936FromWideTest, GivesTheBytesAPhoneExpects) {
  EXPECT_EQ(Cp936FromWide(GetParam().wide), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp936FromWideTest,
    ::testing::Values(
        ToCp936Case{"Empty", L"", ""}, ToCp936Case{"Digits", L"13800138000", "13800138000"},
        ToCp936Case{"NameAndNumber", L"张三 13800138000", "\xd5\xc5\xc8\xfd 13800138000"},
        ToCp936Case{"LineBreaksKept", L"138\r\n001", "138\r\n001"},
        // Code page 936 has the euro sign at 0x80, unlike plain GBK.
        ToCp936Case{"Euro", L"\u20ac5",
                    "\x80"
                    "5"},
        // One '?' for the whole pair, not one per UTF-16 unit.
        ToCp936Case{"Emoji", L"138\U0001F600000", "138?000"},
        ToCp936Case{"TwoEmoji", L"\U0001F600\U0001F4DE", "??"},
        ToCp936Case{"LoneSurrogates", std::wstring{L'1', wchar_t(0xD800), L'2', wchar_t(0xDC00)},
                    "1?2?"},
        // Thai and Arabic have no place in CP936; é has (as pinyin).
        ToCp936Case{"Unrepresentable", L"\u0e01\u0627\u00e9", "??\xa8\xa6"}),
    [](const ::testing::TestParamInfo<ToCp936Case>& c) { return std::string(c.param.name); });

struct FromCp936Case {
  const char* name;
  std::string bytes;
  std::wstring wide;
};

class WideFromCp936Test : public ::testing::TestWithParam<FromCp936Case> {};

TEST_P(WideFromCp936Test, ShowsTheCharacters) {
  EXPECT_EQ(WideFromCp936(GetParam().bytes), GetParam().wide);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideFromCp936Test,
    ::testing::Values(FromCp936Case{"Empty", "", L""},
                      FromCp936Case{"Address", "192.0.2.10", L"192.0.2.10"},
                      FromCp936Case{"NameAndNumber", "\xd5\xc5\xc8\xfd 138", L"张三 138"},
                      FromCp936Case{"Ampersand", "a&b", L"a&b"},
                      // The program's own captions, kept as CP936 bytes.
                      FromCp936Case{"AddressPrefix", ADDRESS_PREFIX, L"手机输入IP:"},
                      FromCp936Case{"Connected", CONNECTED_PREFIX, L"手机已连接！连接数："},
                      FromCp936Case{"Disconnected", DISCONNECTED_PREFIX, L"手机已断开！连接数："},
                      FromCp936Case{"DialButton", CAPTION_拨号, L"拨号"}),
    [](const ::testing::TestParamInfo<FromCp936Case>& c) { return std::string(c.param.name); });

TEST(Cp936RoundTrip, EveryCaptionComesBackAsTheSameBytes) {
  for (const char* caption : {INITIAL_安全计时, INITIAL_客户进入, INITIAL_标签1, CAPTION_拨号,
                              ADDRESS_PREFIX, CONNECTED_PREFIX, DISCONNECTED_PREFIX, COUNT_SUFFIX,
                              GUARD_WAIT_PREFIX, GUARD_WAIT_SUFFIX}) {
    EXPECT_EQ(Cp936FromWide(WideFromCp936(caption)), caption);
  }
}

TEST(WideFromUtf8, ReadsMessagesWrittenInUtf8) {
  EXPECT_EQ(WideFromUtf8("Quorvant has to stop: \xe5\xbc\xa0"), L"Quorvant has to stop: 张");
}

}  // namespace
}  // namespace quorvant::win32
