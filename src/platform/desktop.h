// The one interface through which the portable program reaches its desktop.
// Each front end (Qt on X11, Win32) implements it; tests install a fake.
// Every call happens on the UI thread.
#pragma once

#include <cstdint>
#include <string>

#include "app/types.h"

namespace quorvant {

// The three labels of the main window whose caption the program changes.
enum class Label { 安全计时, 客户进入, 标签1 };

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Builds the main window hidden from the window description, creates its
  // units (CreateServerUnit among them, and the 时钟1 timer bound to
  // GuardTick), runs OnWindowBuilt, then shows the window. False when the
  // window or one of its units cannot be created.
  virtual bool BuildMainWindow() = 0;
  // Dispatches events until the main window has been destroyed (closing it
  // destroys it, DestroyServerUnit included).
  virtual void RunMessageLoop() = 0;

  // Unit operations of the main window. None can fail.
  virtual void SetCaption(Label label, const Text& caption) = 0;
  virtual void SetTextColour(Label label, Colour colour) = 0;
  virtual void SetEditText(const Text& text) = 0;  // 编辑框1
  virtual Text GetEditText() = 0;                  // 编辑框1

  // The clipboard's plain text in CP936; empty when it holds no text or
  // cannot be read right now.
  virtual Text ClipboardText() = 0;

  // Registers Ctrl+F11 system-wide under `id`. Each press, auto-repeats
  // included, must later reach HotkeyFeedback(id, 0) on the UI thread.
  // False when the desktop refuses (e.g. another program holds the key).
  virtual bool RegisterDialHotkey(std::int32_t id) = 0;

  // A modal error box without owner; returns once the user dismissed it.
  virtual void ShowFatalError(const std::string& utf8Message) = 0;
};

// The desktop in use; installed once by the front end before start-up.
Desktop& TheDesktop();
// Null until a front end installed itself.
Desktop* InstalledDesktop();
void InstallDesktop(Desktop* desktop);

}  // namespace quorvant
