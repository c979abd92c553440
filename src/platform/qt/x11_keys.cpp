#include "platform/qt/x11_keys.h"

#include <cstdlib>
#include <memory>

namespace quorvant::x11 {

namespace {

constexpr xcb_keysym_t KEYSYM_NUM_LOCK = 0xFF7F;
constexpr xcb_keysym_t KEYSYM_SCROLL_LOCK = 0xFF14;

// xcb replies are malloc'ed and released with free().
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Own(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

struct KeyboardMapping {
  xcb_keycode_t firstKeycode = 0;
  int keysymsPerKeycode = 0;
  std::vector<xcb_keysym_t> keysyms;

  std::vector<xcb_keycode_t> KeycodesFor(xcb_keysym_t wanted) const {
    std::vector<xcb_keycode_t> found;
    if (keysymsPerKeycode <= 0) return found;
    for (std::size_t i = 0; i < keysyms.size(); ++i) {
      if (keysyms[i] != wanted) continue;
      const auto keycode = static_cast<xcb_keycode_t>(
          firstKeycode + i / static_cast<std::size_t>(keysymsPerKeycode));
      if (found.empty() || found.back() != keycode) found.push_back(keycode);
    }
    return found;
  }
};

KeyboardMapping ReadKeyboardMapping(xcb_connection_t* connection) {
  KeyboardMapping mapping;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  if (setup == nullptr || setup->max_keycode < setup->min_keycode) return mapping;
  const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
  auto reply = Own(xcb_get_keyboard_mapping_reply(
      connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
  if (!reply) return mapping;
  mapping.firstKeycode = setup->min_keycode;
  mapping.keysymsPerKeycode = reply->keysyms_per_keycode;
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
  mapping.keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
  return mapping;
}

// The modifier mask (Mod1..Mod5 and the rest) to which a key producing
// `keysym` is mapped; 0 when none is.
std::uint16_t ModifierMaskOf(xcb_connection_t* connection, const KeyboardMapping& mapping,
                             xcb_keysym_t keysym) {
  const std::vector<xcb_keycode_t> keycodes = mapping.KeycodesFor(keysym);
  if (keycodes.empty()) return 0;
  auto reply = Own(
      xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
  if (!reply) return 0;
  const xcb_keycode_t* table = xcb_get_modifier_mapping_keycodes(reply.get());
  const int perModifier = reply->keycodes_per_modifier;
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int k = 0; k < perModifier; ++k) {
      const xcb_keycode_t keycode = table[modifier * perModifier + k];
      for (const xcb_keycode_t wanted : keycodes) {
        if (keycode != 0 && keycode == wanted) return static_cast<std::uint16_t>(1u << modifier);
      }
    }
  }
  return 0;
}

}  // namespace

xcb_window_t RootWindow(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  if (setup == nullptr) return XCB_NONE;
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  return screens.rem > 0 ? screens.data->root : XCB_NONE;
}

std::vector<KeyGrab> DialKeyGrabs(xcb_connection_t* connection) {
  const KeyboardMapping mapping = ReadKeyboardMapping(connection);
  std::vector<std::uint16_t> locks{XCB_MOD_MASK_LOCK};
  for (const xcb_keysym_t lock : {KEYSYM_NUM_LOCK, KEYSYM_SCROLL_LOCK}) {
    const std::uint16_t mask = ModifierMaskOf(connection, mapping, lock);
    bool known = mask == 0 || mask == XCB_MOD_MASK_CONTROL;
    for (const std::uint16_t other : locks) known = known || other == mask;
    if (!known) locks.push_back(mask);
  }

  std::vector<KeyGrab> grabs;
  for (const xcb_keycode_t keycode : mapping.KeycodesFor(KEYSYM_F11)) {
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
      std::uint16_t modifiers = XCB_MOD_MASK_CONTROL;
      for (std::size_t i = 0; i < locks.size(); ++i) {
        if ((subset & (1u << i)) != 0) modifiers = static_cast<std::uint16_t>(modifiers | locks[i]);
      }
      grabs.push_back({keycode, modifiers});
    }
  }
  return grabs;
}

bool GrabAll(xcb_connection_t* connection, xcb_window_t root, const std::vector<KeyGrab>& grabs) {
  if (grabs.empty() || root == XCB_NONE) return false;
  std::vector<xcb_void_cookie_t> cookies;
  for (const KeyGrab& grab : grabs) {
    cookies.push_back(xcb_grab_key_checked(connection, 1, root, grab.modifiers, grab.keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  }
  std::vector<KeyGrab> granted;
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    if (auto error = Own(xcb_request_check(connection, cookies[i]))) continue;
    granted.push_back(grabs[i]);
  }
  if (granted.size() == grabs.size()) return true;
  UngrabAll(connection, root, granted);
  return false;
}

void UngrabAll(xcb_connection_t* connection, xcb_window_t root, const std::vector<KeyGrab>& grabs) {
  for (const KeyGrab& grab : grabs) xcb_ungrab_key(connection, grab.keycode, root, grab.modifiers);
  // A round trip: once this returns, the server has released the keys and
  // another client can have them.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace quorvant::x11
