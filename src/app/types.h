// The few value types that every part of the program shares.
#pragma once

#include <cstdint>
#include <string>

namespace quorvant {

// Bytes in code page 936 (GBK), the encoding phones expect on the wire.
// Lengths and positions count bytes; an absent text is the empty text.
using Text = std::string;

// "Address:port" of one accepted phone connection, e.g. "192.168.1.23:50000".
using PhoneId = Text;

// Local wall-clock time as days since 1899-12-30, always whole seconds.
using Timestamp = double;

// 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

inline constexpr Colour COLOUR_BLACK = 0;
inline constexpr Colour COLOUR_GREY = 8421504;

}  // namespace quorvant
