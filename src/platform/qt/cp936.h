// The program keeps its texts in code page 936; Qt and X11 speak UTF-8. These
// two conversions sit at that edge. No Qt here, so the tests can use them too.
#pragma once

#include <string>
#include <string_view>

#include "app/types.h"

namespace quorvant {

// A character that code page 936 cannot hold becomes '?', one per character,
// as on Windows.
Text Cp936FromUtf8(std::string_view utf8);

// A byte sequence that is not valid CP936 becomes '?', one per bad byte.
std::string Utf8FromCp936(std::string_view cp936);

}  // namespace quorvant
