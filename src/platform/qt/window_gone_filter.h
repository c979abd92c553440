// Another X client may destroy the main window's X window outright (xdotool
// windowclose, xkill -id). Qt keeps the widget then; this filter deletes it,
// so the program shuts down as after a close.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

namespace quorvant {

class WindowGoneFilter : public QAbstractNativeEventFilter {
 public:
  // Watches `window` from now until this filter is destroyed.
  explicit WindowGoneFilter(QWidget* window);
  ~WindowGoneFilter() override;
  WindowGoneFilter(const WindowGoneFilter&) = delete;
  WindowGoneFilter& operator=(const WindowGoneFilter&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace quorvant
