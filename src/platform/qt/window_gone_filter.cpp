#include "platform/qt/window_gone_filter.h"

#include <xcb/xcb.h>

#include <QCoreApplication>

namespace quorvant {

WindowGoneFilter::WindowGoneFilter(QWidget* window) : window_(window) {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowGoneFilter::~WindowGoneFilter() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

bool WindowGoneFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || message == nullptr || window_ == nullptr) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
  const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
  const WId id = window_->internalWinId();
  if (id == 0 || destroyed->window != id) return false;
  // Deleted from the event loop, not from inside the X event handling.
  window_->deleteLater();
  return false;
}

}  // namespace quorvant
