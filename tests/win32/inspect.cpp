// Test helper: reads the top-level window titled "Quorvant" from outside and
// prints what it finds as JSON, in UTF-8.
//   inspect.exe          one line: the outer rectangle, the client area's
//                        screen position and size, the frame style and, for
//                        each child control, class, id, text and rectangle
//                        in client coordinates. Exit code 1: no such window.
//   inspect.exe --watch  one line {"ms": ..., "id": ..., "text": ...} for the
//                        first text of every control and each change after
//                        it, polled every 20 ms, until the window is gone.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &bytes[0], length, nullptr, nullptr);
  return bytes;
}

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (const char c : Utf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Json(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  return text;
}

std::string Json(bool value) { return value ? "true" : "false"; }

void Print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::FlushFileBuffers(out);
}

// The text through WM_GETTEXT: GetWindowText does not ask another process.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> all;
  ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> direct;
  for (HWND child : all) {
    if (::GetParent(child) == window) direct.push_back(child);
  }
  return direct;
}

int Describe(HWND window) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  RECT client{};
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);

  std::string out = "{\"title\": " + Json(TextOf(window));
  out += ", \"outer\": " + Json(outer);
  out += ", \"client\": [" + std::to_string(origin.x) + ", " + std::to_string(origin.y) + ", " +
         std::to_string(client.right) + ", " + std::to_string(client.bottom) + "]";
  out += ", \"visible\": " + Json(::IsWindowVisible(window) != FALSE);
  out += ", \"maximize_box\": " + Json((style & WS_MAXIMIZEBOX) != 0);
  out += ", \"minimize_box\": " + Json((style & WS_MINIMIZEBOX) != 0);
  out += ", \"sizable\": " + Json((style & WS_THICKFRAME) != 0);
  out += ", \"system_menu\": " + Json((style & WS_SYSMENU) != 0);
  out += ", \"controls\": [";
  bool first = true;
  for (HWND child : ChildrenOf(window)) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    out += first ? "" : ", ";
    first = false;
    out += "{\"class\": " + Json(ClassOf(child));
    out += ", \"id\": " + std::to_string(::GetDlgCtrlID(child));
    out += ", \"text\": " + Json(TextOf(child));
    out += ", \"rect\": " + Json(r);
    out += ", \"style\": " +
           std::to_string(static_cast<unsigned long>(::GetWindowLongW(child, GWL_STYLE)));
    out += ", \"ex_style\": " +
           std::to_string(static_cast<unsigned long>(::GetWindowLongW(child, GWL_EXSTYLE)));
    out += "}";
  }
  Print(out + "]}");
  return 0;
}

int Watch(HWND window) {
  const DWORD start = ::GetTickCount();
  std::map<HWND, std::wstring> seen;
  while (::IsWindow(window)) {
    for (HWND child : ChildrenOf(window)) {
      const std::wstring text = TextOf(child);
      // A window being destroyed answers with nothing: not a change.
      if (!::IsWindow(child)) break;
      const auto known = seen.find(child);
      if (known != seen.end() && known->second == text) continue;
      seen[child] = text;
      Print("{\"ms\": " + std::to_string(::GetTickCount() - start) + ", \"id\": " +
            std::to_string(::GetDlgCtrlID(child)) + ", \"text\": " + Json(text) + "}");
    }
    ::Sleep(20);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HWND window = ::FindWindowW(nullptr, L"Quorvant");
  if (window == nullptr) {
    std::fputs("no window titled Quorvant\n", stderr);
    return 1;
  }
  if (argc > 1 && std::wcscmp(argv[1], L"--watch") == 0) return Watch(window);
  return Describe(window);
}
