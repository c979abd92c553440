// The program keeps its texts as CP936 bytes; Win32 speaks UTF-16. These two
// routines convert at that edge.
#pragma once

#include <string>

#include "app/types.h"

namespace quorvant::win32 {

// Bytes CP936 cannot decode become U+FFFD, as Windows decodes them.
std::wstring WideFromCp936(const Text& text);

// A character CP936 cannot hold becomes one '?', a character outside the
// basic plane (a surrogate pair, e.g. an emoji) included.
Text Cp936FromWide(const std::wstring& text);

// Characters of UTF-8 text, for messages the program writes in English.
std::wstring WideFromUtf8(const std::string& text);

}  // namespace quorvant::win32
