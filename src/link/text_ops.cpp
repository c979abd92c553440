#include "link/text_ops.h"

#include <cstddef>

#include "app/texts.h"

namespace quorvant {

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const Text& text, std::size_t at, const Text& pattern, bool ignoreCase) {
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    const char a = text[at + k];
    const char b = pattern[k];
    if (a == b) continue;
    if (ignoreCase && FoldAscii(a) == FoldAscii(b)) continue;
    return false;
  }
  return true;
}

}  // namespace

int FindText(const Text& text, const Text& pattern, int start, bool ignoreCase) {
  const long long first = start > 1 ? static_cast<long long>(start) - 1 : 0;
  if (static_cast<unsigned long long>(first) >= text.size()) return -1;
  std::size_t at = static_cast<std::size_t>(first);
  for (;;) {
    if (text.size() - at < pattern.size()) return -1;
    if (MatchesAt(text, at, pattern, ignoreCase)) return static_cast<int>(at + 1);
    if (IsLeadByte(text[at])) {
      // A lead byte with nothing after it ends the text.
      if (at + 1 >= text.size()) return -1;
      at += 2;
    } else {
      at += 1;
    }
  }
}

Text MidText(const Text& text, int start, int length) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || length <= 0) return Text();
  return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(length));
}

Text ReplaceText(const Text& text, const Text& pattern, const Text& replacement) {
  if (text.empty() || pattern.empty()) return text;
  Text result;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.compare(at, pattern.size(), pattern) == 0) {
      result += replacement;
      at += pattern.size();
      continue;
    }
    const std::size_t width = IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
    result.append(text, at, width);
    at += width;
  }
  return result;
}

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
  const Text leftMarker = ReplaceText(left, QUOTE_MARKER, "\"");
  const Text rightMarker = ReplaceText(right, QUOTE_MARKER, "\"");
  int from = FindText(text, leftMarker, start, ignoreCase);
  if (from == -1) return Text();
  from += static_cast<int>(leftMarker.size());
  const int to = FindText(text, rightMarker, from, ignoreCase);
  if (to == -1) return Text();
  return MidText(text, from, to - from);
}

}  // namespace quorvant
