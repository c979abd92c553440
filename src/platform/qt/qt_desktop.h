// The desktop on Linux/X11, with Qt Widgets: the main window and its units,
// the clipboard, the Ctrl+F11 grab and the error box.
#pragma once

#include <QPointer>

#include "platform/desktop.h"
#include "platform/qt/dial_hotkey.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_socket_events.h"

namespace quorvant {

class QtDesktop : public Desktop {
 public:
  // Needs the QApplication to exist.
  QtDesktop();
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  bool BuildMainWindow() override;
  void RunMessageLoop() override;

  void SetCaption(Label label, const Text& caption) override;
  void SetTextColour(Label label, Colour colour) override;
  void SetEditText(const Text& text) override;
  Text GetEditText() override;

  Text ClipboardText() override;
  bool RegisterDialHotkey(std::int32_t id) override;
  void ShowFatalError(const std::string& utf8Message) override;

  // The main window while it exists; null before it is built and once it has
  // been destroyed.
  MainWindow* Window() const { return window_; }

 private:
  void OnMainWindowDestroyed();

  QtSocketEvents socketEvents_;
  DialHotkey hotkey_;
  QPointer<MainWindow> window_;
};

}  // namespace quorvant
