#include "platform/qt/cp936.h"

#include <gtest/gtest.h>

namespace quorvant {
namespace {

struct Conversion {
  const char* utf8;
  const char* cp936;
};

// Texts that survive the trip both ways.
const Conversion BOTH_WAYS[] = {
    {"", ""},
    {"13800138000", "13800138000"},
    {"张三 13800138000", "\xd5\xc5\xc8\xfd 13800138000"},
    {"手机已连接！连接数：1个",
     "\xca\xd6\xbb\xfa\xd2\xd1\xc1\xac\xbd\xd3\xa3\xa1\xc1\xac\xbd\xd3"
     "\xca\xfd\xa3\xba"
     "1\xb8\xf6"},
    // Code page 936 has the euro sign at 0x80.
    {"€5", "\x80\x35"},
    {"a&b\tc\r\nd", "a&b\tc\r\nd"},
};

TEST(Cp936Test, ConvertsBothWays) {
  for (const Conversion& c : BOTH_WAYS) {
    EXPECT_EQ(Cp936FromUtf8(c.utf8), c.cp936) << c.utf8;
    EXPECT_EQ(Utf8FromCp936(c.cp936), c.utf8) << c.utf8;
  }
}

TEST(Cp936Test, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  const Conversion cases[] = {
      {"a😀b", "a?b"},
      {"😀😀", "??"},
      {"张😀三", "\xd5\xc5?\xc8\xfd"},
      {"13800138000😀", "13800138000?"},
      {"\xe2\x98\x83", "?"},  // U+2603, a snowman
  };
  for (const Conversion& c : cases) EXPECT_EQ(Cp936FromUtf8(c.utf8), c.cp936) << c.utf8;
}

TEST(Cp936Test, BrokenInputBecomesQuestionMarksAndTheRestSurvives) {
  // A lead byte without its trail at the end, and a stray UTF-8 continuation.
  EXPECT_EQ(Utf8FromCp936("12\xd5"), "12?");
  EXPECT_EQ(Utf8FromCp936("\xff\x31"), "?1");
  EXPECT_EQ(Cp936FromUtf8("\x31\x80\x32"), "1?2");
  EXPECT_EQ(Cp936FromUtf8("1\xe5\xbc"), "1?");
}

TEST(Cp936Test, LongTextsConvertWhole) {
  // Longer than the conversion buffer, so it is written in several rounds.
  std::string utf8;
  std::string cp936;
  for (int i = 0; i < 500; ++i) {
    utf8 += "张三1";
    cp936 +=
        "\xd5\xc5\xc8\xfd"
        "1";
  }
  EXPECT_EQ(Cp936FromUtf8(utf8), cp936);
  EXPECT_EQ(Utf8FromCp936(cp936), utf8);
}

}  // namespace
}  // namespace quorvant
