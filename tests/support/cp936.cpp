#include "cp936.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace quorvant::test {

namespace {

[[noreturn]] void Fail(std::string_view utf8) {
  std::fprintf(stderr, "Cp936: cannot convert \"%.*s\"\n", static_cast<int>(utf8.size()),
               utf8.data());
  std::abort();
}

}  // namespace

#ifdef _WIN32

Text Cp936(std::string_view utf8) {
  if (utf8.empty()) return Text();
  const int size = static_cast<int>(utf8.size());
  const int wide =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wide <= 0) Fail(utf8);
  std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, &utf16[0], wide);
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(936, 0, utf16.data(), wide, nullptr, 0, nullptr, &lossy);
  if (bytes <= 0 || lossy) Fail(utf8);
  Text result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(936, 0, utf16.data(), wide, &result[0], bytes, nullptr, nullptr);
  return result;
}

#else

Text Cp936(std::string_view utf8) {
  const iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) Fail(utf8);
  std::string input(utf8);
  Text result(input.size() * 2 + 8, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (done == static_cast<std::size_t>(-1) || inLeft != 0) Fail(utf8);
  result.resize(result.size() - outLeft);
  return result;
}

#endif

}  // namespace quorvant::test
