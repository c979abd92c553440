#include "platform/qt/cp936.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace quorvant {

namespace {

// The Windows code page by its own name, euro sign at 0x80 included.
constexpr char CP936[] = "CP936";
constexpr char UTF8[] = "UTF-8";

// Bytes in the UTF-8 character that starts with `lead`; 1 for a stray byte.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Runs `from` through iconv; at a sequence iconv cannot take, writes '?' and
// skips as many input bytes as `badLength` says.
template <typename BadLength>
std::string Convert(const char* to, const char* fromCode, std::string_view from,
                    BadLength badLength) {
  std::string result;
  if (from.empty()) return result;
  const iconv_t converter = ::iconv_open(to, fromCode);
  if (converter == reinterpret_cast<iconv_t>(-1)) return result;

  char* in = const_cast<char*>(from.data());
  std::size_t inLeft = from.size();
  char buffer[256];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    result.append(buffer, static_cast<std::size_t>(out - buffer));
    if (done != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end.
    result.push_back('?');
    const std::size_t skip = std::min(inLeft, badLength(static_cast<unsigned char>(*in)));
    in += skip;
    inLeft -= skip;
    ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(converter);
  return result;
}

}  // namespace

Text Cp936FromUtf8(std::string_view utf8) { return Convert(CP936, UTF8, utf8, Utf8Length); }

std::string Utf8FromCp936(std::string_view cp936) {
  return Convert(UTF8, CP936, cp936, [](unsigned char) -> std::size_t { return 1; });
}

}  // namespace quorvant
