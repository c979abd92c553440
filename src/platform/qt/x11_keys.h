// Grabbing Ctrl+F11 on the X root window, in plain xcb so that the test
// helpers can hold the same key the program wants.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace quorvant::x11 {

inline constexpr xcb_keysym_t KEYSYM_F11 = 0xFFC8;

struct KeyGrab {
  xcb_keycode_t keycode;
  std::uint16_t modifiers;
};

// The root window of the connection's default screen; XCB_NONE without one.
xcb_window_t RootWindow(xcb_connection_t* connection);

// Ctrl+F11 with every combination of the lock modifiers (Caps Lock, and Num
// Lock and Scroll Lock where the modifier mapping assigns them), since the X
// server matches a grab only on the exact modifier state.
std::vector<KeyGrab> DialKeyGrabs(xcb_connection_t* connection);

// Grabs all of `grabs` on `root`, or none: when the server refuses one (another
// client holds it), the ones granted are released again and the result is false.
bool GrabAll(xcb_connection_t* connection, xcb_window_t root, const std::vector<KeyGrab>& grabs);
void UngrabAll(xcb_connection_t* connection, xcb_window_t root, const std::vector<KeyGrab>& grabs);

}  // namespace quorvant::x11
