// The dial command, its two triggers and its 10-second guard.
#pragma once

#include <cstdint>

namespace quorvant {

inline constexpr int DIAL_GUARD_SECONDS = 10;
// How long a dial waits for a phone that takes no data. The wait holds the
// window, so it is a few seconds, not the 3000 that was once meant as
// milliseconds.
inline constexpr int SEND_TIMEOUT_SECONDS = 3;
inline constexpr std::int32_t FIRST_HOTKEY_ID = 33001;

// Registers Ctrl+F11 and puts LastDialTime two minutes in the past. Run once
// by OnWindowBuilt.
void PrepareDialling();

// True when at least DIAL_GUARD_SECONDS whole seconds passed since the last
// accepted dial. Reads the clock once.
bool DialGuardPassed();

// Pastes the clipboard into 编辑框1 and, when a phone is listed, the box is
// not empty and the guard has passed, sends the box's bytes to the last phone.
void DialCommand();

// The feedback event of 标签1, which carries the hot-key reports.
void HotkeyFeedback(std::int32_t first, std::int32_t second);

}  // namespace quorvant
