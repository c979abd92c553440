// Text routines on CP936 byte strings: 1-based byte positions, -1 for "not
// found", double-byte characters stepped over whole where the routine says so.
#pragma once

#include "app/types.h"

namespace quorvant {

// Position of `pattern` in `text` from `start` on (below 1 counts as 1), or -1.
// A match never begins on the second byte of a double-byte character.
int FindText(const Text& text, const Text& pattern, int start, bool ignoreCase);

// `length` bytes of `text` from `start` on (fewer at the end); empty when
// `start` lies outside the text or `length` is not positive.
Text MidText(const Text& text, int start, int length);

// Every non-overlapping occurrence of `pattern` replaced by `replacement`.
Text ReplaceText(const Text& text, const Text& pattern, const Text& replacement);

// The bytes between the first `left` marker (searched from `start`) and the
// next `right` marker after it; empty when either is missing. "#引号" in a
// marker stands for a double quote.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start, bool ignoreCase);

}  // namespace quorvant
