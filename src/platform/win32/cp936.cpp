#include "platform/win32/cp936.h"

#include <windows.h>

namespace quorvant::win32 {

namespace {

constexpr UINT CP936 = 936;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::wstring Decode(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], length);
  return wide;
}

// One '?' per character: Windows would give one per UTF-16 unit, so a pair
// would turn into two.
std::wstring OneUnitPerCharacter(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      result.push_back(L'?');
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      result.push_back(L'?');
    } else {
      result.push_back(c);
    }
  }
  return result;
}

}  // namespace

std::wstring WideFromCp936(const Text& text) { return Decode(CP936, text); }

std::wstring WideFromUtf8(const std::string& text) { return Decode(CP_UTF8, text); }

Text Cp936FromWide(const std::wstring& text) {
  if (text.empty()) return Text();
  const std::wstring plain = OneUnitPerCharacter(text);
  const int size = static_cast<int>(plain.size());
  // No best fit: a character CP936 lacks must not turn into a look-alike
  // digit or letter on its way to the phone.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char unknown[] = "?";
  const int length =
      ::WideCharToMultiByte(CP936, flags, plain.data(), size, nullptr, 0, unknown, nullptr);
  if (length <= 0) return Text();
  Text bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP936, flags, plain.data(), size, &bytes[0], length, unknown, nullptr);
  return bytes;
}

}  // namespace quorvant::win32
