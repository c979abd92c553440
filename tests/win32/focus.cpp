// Test helper: a small Wine window that takes the keyboard focus, so that a
// key press made with xdotool reaches Wine (which hands registered hot keys
// only to a focused Wine window). With --hold-hotkey it first registers
// Ctrl+F11 itself, to stand for another program that holds the key. It prints
// one line for each thing that happens:
//   "hotkey held" / "hotkey refused", "focus", "hotkey pressed".
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

constexpr int HELD_HOTKEY_ID = 1;

void Say(const char* line) {
  DWORD written = 0;
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  ::WriteFile(out, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  ::WriteFile(out, "\n", 1, &written, nullptr);
  ::FlushFileBuffers(out);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      Say("focus");
      return 0;
    case WM_HOTKEY:
      if (wParam == HELD_HOTKEY_ID) Say("hotkey pressed");
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool holdHotkey = argc > 1 && std::wcscmp(argv[1], L"--hold-hotkey") == 0;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"QuorvantFocusHelper";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, L"QuorvantFocusHelper", L"Focus helper", WS_OVERLAPPEDWINDOW,
                                  40, 40, 320, 120, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  if (holdHotkey) {
    Say(::RegisterHotKey(window, HELD_HOTKEY_ID, MOD_CONTROL, VK_F11) ? "hotkey held"
                                                                      : "hotkey refused");
  }
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetForegroundWindow(window);
  ::SetFocus(window);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
