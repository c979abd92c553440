// Ctrl+F11 from whichever program has the focus: a key grab on the X root
// window, whose presses a native event filter turns into HotkeyFeedback.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <vector>

#include "platform/qt/x11_keys.h"

namespace quorvant {

class DialHotkey : public QAbstractNativeEventFilter {
 public:
  DialHotkey() = default;
  ~DialHotkey() override;
  DialHotkey(const DialHotkey&) = delete;
  DialHotkey& operator=(const DialHotkey&) = delete;

  // Grabs Ctrl+F11 with every lock-modifier combination; false, with nothing
  // grabbed, when another client already holds one of them.
  bool Register(std::int32_t id);
  // Gives the key back; nothing happens when it was not registered.
  void Release();

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = XCB_NONE;
  std::vector<x11::KeyGrab> grabs_;
  std::int32_t id_ = 0;
};

}  // namespace quorvant
