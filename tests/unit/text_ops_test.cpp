// The text routines on CP936 bytes: 1-based byte positions, -1 for "not
// found", double-byte characters stepped over whole.
#include "link/text_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "cp936.h"

namespace quorvant {
namespace {

using test::Cp936;

// 中 and 文 in CP936: D6 D0 and CE C4.
const Text ZHONG_WEN = "\xD6\xD0\xCE\xC4";
// 丂 is 81 40: its second byte is the ASCII '@'.
const Text KAO_AT = "\x81\x40@";

struct FindCase {
  const char* name;
  Text text;
  Text pattern;
  int start;
  bool ignoreCase;
  int expected;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class FindTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, FindsTheFirstWholeCharacterMatch) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindText(c.text, c.pattern, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextTest,
    ::testing::Values(
        FindCase{"from position 4", "abcabc", "c", 4, false, 6},
        FindCase{"from position 0 counts as 1", "abcabc", "c", 0, false, 3},
        FindCase{"from a negative position counts as 1", "abcabc", "c", -5, false, 3},
        FindCase{"from INT_MIN counts as 1", "abcabc", "a", INT_MIN, false, 1},
        FindCase{"from the last byte", "abcabc", "c", 6, false, 6},
        FindCase{"from just past the end", "abcabc", "c", 7, false, -1},
        FindCase{"from far past the end", "abcabc", "a", 1000, false, -1},
        FindCase{"a longer pattern", "abc", "abcd", 1, false, -1},
        FindCase{"a pattern running past the end", "abcab", "abc", 2, false, -1},
        FindCase{"in an empty text", "", "a", 1, false, -1},
        FindCase{"an empty pattern at the start position", "abc", "", 2, false, 2},
        FindCase{"case counts", "ABC", "b", 1, false, -1},
        FindCase{"ignoring case", "ABC", "b", 1, true, 2},
        FindCase{"ignoring case, pattern in capitals", "xabc", "BC", 1, true, 3},
        FindCase{"ignoring case leaves other bytes exact", "\xC1", "\xE1", 1, true, -1},
        FindCase{"never from a second byte", ZHONG_WEN, "\xD0\xCE", 1, false, -1},
        FindCase{"a whole double-byte character", ZHONG_WEN, "\xCE\xC4", 1, false, 3},
        FindCase{"an ASCII second byte is no match", KAO_AT, "@", 1, false, 3},
        FindCase{"a start inside a character begins there", ZHONG_WEN, "\xD0\xCE", 2, false, 2},
        FindCase{"a lead byte at the end ends the search", "ab\xD6", "x", 1, false, -1},
        FindCase{"a lead byte at the end still matches itself", "ab\xD6", "\xD6", 1, false, 3},
        FindCase{"a pattern longer than what a last lead byte leaves", "ab\xD6", "\xD6\xD0", 1,
                 false, -1},
        FindCase{"the quote marker", Cp936("a#引号b"), Cp936("#引号"), 1, false, 2}));

struct MidCase {
  const char* name;
  Text text;
  int start;
  int length;
  Text expected;
};

void PrintTo(const MidCase& c, std::ostream* os) { *os << c.name; }

class MidTextTest : public ::testing::TestWithParam<MidCase> {};

TEST_P(MidTextTest, CountsBytes) {
  const MidCase& c = GetParam();
  EXPECT_EQ(MidText(c.text, c.start, c.length), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidTextTest,
    ::testing::Values(
        MidCase{"fewer bytes at the end", "abc", 2, 5, "bc"},
        MidCase{"exactly to the end", "abc", 2, 2, "bc"}, MidCase{"one byte", "abc", 3, 1, "c"},
        MidCase{"a start past the end", "abc", 4, 1, ""}, MidCase{"a start of 0", "abc", 0, 2, ""},
        MidCase{"a negative start", "abc", -1, 5, ""}, MidCase{"a length of 0", "abc", 1, 0, ""},
        MidCase{"a negative length", "abc", 1, -1, ""}, MidCase{"an empty text", "", 1, 1, ""},
        MidCase{"splits double-byte characters", ZHONG_WEN, 2, 2, "\xD0\xCE"}));

struct ReplaceCase {
  const char* name;
  Text text;
  Text pattern;
  Text replacement;
  Text expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceTextTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, ReplacesEveryOccurrence) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.text, c.pattern, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    ::testing::Values(
        ReplaceCase{"the quote marker", Cp936("a#引号b#引号"), Cp936("#引号"), "\"", "a\"b\""},
        ReplaceCase{"no occurrence", "abc", "x", "y", "abc"},
        ReplaceCase{"occurrences do not overlap", "aaaa", "aa", "b", "bb"},
        ReplaceCase{"a leftover byte is copied", "aaa", "aa", "b", "ba"},
        ReplaceCase{"an empty replacement removes", "a-b-c", "-", "", "abc"},
        ReplaceCase{"a longer replacement", "a.b", ".", "::", "a::b"},
        ReplaceCase{"an empty text", "", "a", "b", ""},
        ReplaceCase{"an empty pattern copies", "abc", "", "x", "abc"},
        ReplaceCase{"never from a second byte", ZHONG_WEN, "\xD0\xCE", "x", ZHONG_WEN},
        ReplaceCase{"an ASCII second byte is kept", KAO_AT, "@", "X", "\x81\x40X"},
        ReplaceCase{"a lead byte at the end is copied", "a\xD6", "a", "X", "X\xD6"},
        ReplaceCase{"double-byte patterns", Cp936("中文中"), Cp936("中"), "z",
                    "z" + Cp936("文") + "z"}));

struct BetweenCase {
  const char* name;
  Text text;
  Text left;
  Text right;
  int start;
  bool ignoreCase;
  Text expected;
};

void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.name; }

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, TakesWhatStandsBetweenTheMarkers) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"the address of a phone id", "-192.168.1.23:50000", "-", ":", 0, false,
                    "192.168.1.23"},
        BetweenCase{"no left marker", "192.168.1.23:50000", "-", ":", 0, false, ""},
        BetweenCase{"no right marker after the left", "a:b-c", "-", ":", 0, false, ""},
        BetweenCase{"markers that touch", "-:5", "-", ":", 0, false, ""},
        BetweenCase{"a right marker before the left is passed over", "a:-b:", "-", ":", 0, false,
                    "b"},
        BetweenCase{"quote markers", "a\"b\"c", Cp936("#引号"), Cp936("#引号"), 0, false, "b"},
        BetweenCase{"a quote marker inside a longer marker", "x=\"v\";", Cp936("=#引号"),
                    Cp936("#引号;"), 1, false, "v"},
        BetweenCase{"quote markers without quotes", "abc", Cp936("#引号"), Cp936("#引号"), 0, false,
                    ""},
        BetweenCase{"a start past the first left marker", "x-a:-b:", "-", ":", 3, false, "b"},
        BetweenCase{"a start below 1", "x-a:-b:", "-", ":", -3, false, "a"},
        BetweenCase{"a start past the end", "x-a:-b:", "-", ":", 8, false, ""},
        BetweenCase{"ignoring case", "xAbCy", "a", "c", 1, true, "b"},
        BetweenCase{"case counts", "xAbCy", "a", "c", 1, false, ""},
        BetweenCase{"a marker's byte inside a double-byte character is passed over", "\xD6-x-y:z",
                    "-", ":", 1, false, "y"},
        BetweenCase{"double-byte contents", "-" + Cp936("张三") + ":", "-", ":", 1, false,
                    Cp936("张三")}));

TEST(QuoteMarkerTest, IsTheCp936BytesOfHashAndYinHao) {
  // The marker as the program knows it: what a caller writes in its source.
  EXPECT_EQ(Cp936("#引号"), "#\xD2\xFD\xBA\xC5");
  EXPECT_EQ(TextBetween("<\"q\">", "#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", 1, false), "q");
}

}  // namespace
}  // namespace quorvant
