#include "platform/qt/dial_hotkey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include "dial/dial_command.h"

namespace quorvant {

namespace {

xcb_connection_t* QtConnection() {
  auto* x11 =
      qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}

// The modifier bits of a key event's state; the rest are mouse buttons.
constexpr std::uint16_t MODIFIER_BITS = 0xFF;

}  // namespace

DialHotkey::~DialHotkey() { Release(); }

bool DialHotkey::Register(std::int32_t id) {
  Release();
  xcb_connection_t* connection = QtConnection();
  if (connection == nullptr) return false;
  const xcb_window_t root = x11::RootWindow(connection);
  std::vector<x11::KeyGrab> grabs = x11::DialKeyGrabs(connection);
  if (!x11::GrabAll(connection, root, grabs)) return false;
  connection_ = connection;
  root_ = root;
  grabs_ = std::move(grabs);
  id_ = id;
  QCoreApplication::instance()->installNativeEventFilter(this);
  return true;
}

void DialHotkey::Release() {
  if (connection_ == nullptr) return;
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  x11::UngrabAll(connection_, root_, grabs_);
  connection_ = nullptr;
  grabs_.clear();
}

bool DialHotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
  const auto* press = static_cast<const xcb_key_press_event_t*>(message);
  if (press->event != root_) return false;
  const std::uint16_t modifiers = press->state & MODIFIER_BITS;
  for (const x11::KeyGrab& grab : grabs_) {
    if (grab.keycode != press->detail || grab.modifiers != modifiers) continue;
    // The dial reads the clipboard, which may wait for its owner: run it as
    // the next event, not from inside the X event handling.
    const std::int32_t id = id_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [id] { HotkeyFeedback(id, 0); }, Qt::QueuedConnection);
    return true;
  }
  return false;
}

}  // namespace quorvant
