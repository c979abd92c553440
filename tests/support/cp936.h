// Lets tests write the program's CP936 texts readably, in UTF-8.
#pragma once

#include <string_view>

#include "app/types.h"

namespace quorvant::test {

// The CP936 bytes of a UTF-8 text. Aborts on text that CP936 cannot hold:
// that is a mistake in the test.
Text Cp936(std::string_view utf8);

}  // namespace quorvant::test
