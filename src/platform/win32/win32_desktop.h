// The Win32 desktop: the main window with its STATIC, EDIT and BUTTON
// controls, the 时钟1 timer, the clipboard, the dial hot key and the error box.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <memory>

#include "platform/desktop.h"
#include "platform/win32/win32_socket_events.h"

namespace quorvant::win32 {

class Win32Desktop final : public Desktop {
 public:
  Win32Desktop() = default;
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  bool BuildMainWindow() override;
  void RunMessageLoop() override;

  void SetCaption(Label label, const Text& caption) override;
  void SetTextColour(Label label, Colour colour) override;
  void SetEditText(const Text& text) override;
  Text GetEditText() override;

  Text ClipboardText() override;
  bool RegisterDialHotkey(std::int32_t id) override;
  void ShowFatalError(const std::string& utf8Message) override;

 private:
  struct LabelControl {
    HWND window = nullptr;
    COLORREF colour = RGB(0, 0, 0);
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  HWND CreateChild(const wchar_t* className, DWORD style, DWORD extendedStyle, int id,
                   const Text& text, int left, int top, int width, int height);
  LabelControl& ControlOf(Label label);
  const LabelControl* LabelByWindow(HWND window) const;

  HWND mainWindow_ = nullptr;
  LabelControl 安全计时_;
  LabelControl 客户进入_;
  LabelControl 标签1_;
  HWND 编辑框1_ = nullptr;
  HWND 拨号_ = nullptr;
  HWND lastFocus_ = nullptr;  // the control to give the focus back to
  HFONT font_ = nullptr;
  std::int32_t lastHotkeyId_ = 0;
  std::unique_ptr<Win32SocketEvents> socketEvents_;
};

}  // namespace quorvant::win32
