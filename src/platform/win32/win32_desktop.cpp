#include "platform/win32/win32_desktop.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/texts.h"
#include "dial/dial_command.h"
#include "dial/guard_tick.h"
#include "platform/win32/cp936.h"
#include "platform/win32/resources.h"
#include "ui/on_window_built.h"
#include "ui/units.h"
#include "ui/window_description.h"

namespace quorvant::win32 {

namespace {

namespace description = window_description;

constexpr wchar_t CLASS_NAME[] = L"QuorvantMainWindow";
constexpr DWORD MAIN_WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// One line, left-aligned, vertically centred, cut off at the edge, '&' literal.
constexpr DWORD LABEL_STYLE =
    WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE;
constexpr DWORD EDIT_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;

// Control ids stay clear of IDOK and IDCANCEL, which the dialog keyboard
// handling sends for Enter and Escape.
constexpr int ID_安全计时 = 101;
constexpr int ID_客户进入 = 102;
constexpr int ID_编辑框1 = 103;
constexpr int ID_拨号 = 104;
constexpr int ID_标签1 = 105;
constexpr UINT_PTR ID_时钟1 = 1;

HFONT CreateUiFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    if (HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont)) return font;
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

Win32Desktop::~Win32Desktop() {
  socketEvents_.reset();
  if (font_ != nullptr) ::DeleteObject(font_);
}

bool Win32Desktop::BuildMainWindow() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Win32Desktop::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUORVANT));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVANT),
                                                        IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = CLASS_NAME;
  if (::RegisterClassExW(&windowClass) == 0) return false;

  const int left = description::CentredLeft(::GetSystemMetrics(SM_CXSCREEN));
  const int top = description::CentredTop(::GetSystemMetrics(SM_CYSCREEN));
  // Created hidden; shown once OnWindowBuilt has filled in the address.
  mainWindow_ = ::CreateWindowExW(0, CLASS_NAME, WideFromUtf8(description::TITLE).c_str(),
                                  MAIN_WINDOW_STYLE, left, top, description::OUTER_WIDTH,
                                  description::OUTER_HEIGHT, nullptr, nullptr, instance, this);
  if (mainWindow_ == nullptr) return false;
  if (!CreateControls()) return false;

  if (::SetTimer(mainWindow_, ID_时钟1, description::时钟1_PERIOD_MILLISECONDS, nullptr) == 0) {
    return false;
  }
  socketEvents_ = std::make_unique<Win32SocketEvents>();
  if (!socketEvents_->Ready()) return false;
  CreateServerUnit(*socketEvents_);

  OnWindowBuilt();
  ::ShowWindow(mainWindow_, SW_SHOWNORMAL);
  ::UpdateWindow(mainWindow_);
  ::SetFocus(编辑框1_);
  return true;
}

bool Win32Desktop::CreateControls() {
  font_ = CreateUiFont();
  // In the order of the window description, which is also the tab order.
  const auto& a = description::安全计时;
  安全计时_.window = CreateChild(L"STATIC", LABEL_STYLE, 0, ID_安全计时, INITIAL_安全计时, a.left,
                                 a.top, a.width, a.height);
  const auto& b = description::客户进入;
  客户进入_.window = CreateChild(L"STATIC", LABEL_STYLE, 0, ID_客户进入, INITIAL_客户进入, b.left,
                                 b.top, b.width, b.height);
  const auto& c = description::编辑框1;
  编辑框1_ = CreateChild(L"EDIT", EDIT_STYLE, WS_EX_CLIENTEDGE, ID_编辑框1, INITIAL_编辑框1, c.left,
                         c.top, c.width, c.height);
  const auto& d = description::拨号;
  拨号_ = CreateChild(L"BUTTON", BUTTON_STYLE, 0, ID_拨号, CAPTION_拨号, d.left, d.top, d.width,
                      d.height);
  const auto& e = description::标签1;
  标签1_.window = CreateChild(L"STATIC", LABEL_STYLE, 0, ID_标签1, INITIAL_标签1, e.left, e.top,
                              e.width, e.height);
  return 安全计时_.window != nullptr && 客户进入_.window != nullptr && 编辑框1_ != nullptr &&
         拨号_ != nullptr && 标签1_.window != nullptr;
}

HWND Win32Desktop::CreateChild(const wchar_t* className, DWORD style, DWORD extendedStyle, int id,
                               const Text& text, int left, int top, int width, int height) {
  HWND child = ::CreateWindowExW(extendedStyle, className, WideFromCp936(text).c_str(), style, left,
                                 top, width, height, mainWindow_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
  if (child != nullptr && font_ != nullptr) {
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  return child;
}

void Win32Desktop::RunMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab move between the edit box and the button.
    if (mainWindow_ != nullptr && ::IsDialogMessageW(mainWindow_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

Win32Desktop::LabelControl& Win32Desktop::ControlOf(Label label) {
  switch (label) {
    case Label::安全计时:
      return 安全计时_;
    case Label::客户进入:
      return 客户进入_;
    case Label::标签1:
      break;
  }
  return 标签1_;
}

const Win32Desktop::LabelControl* Win32Desktop::LabelByWindow(HWND window) const {
  for (const LabelControl* label : {&安全计时_, &客户进入_, &标签1_}) {
    if (label->window != nullptr && label->window == window) return label;
  }
  return nullptr;
}

void Win32Desktop::SetCaption(Label label, const Text& caption) {
  ::SetWindowTextW(ControlOf(label).window, WideFromCp936(caption).c_str());
}

void Win32Desktop::SetTextColour(Label label, Colour colour) {
  LabelControl& control = ControlOf(label);
  // Both are 0x00BBGGRR.
  control.colour = static_cast<COLORREF>(colour & 0x00FFFFFF);
  ::InvalidateRect(control.window, nullptr, TRUE);
}

void Win32Desktop::SetEditText(const Text& text) {
  ::SetWindowTextW(编辑框1_, WideFromCp936(text).c_str());
}

Text Win32Desktop::GetEditText() { return Cp936FromWide(WindowText(编辑框1_)); }

Text Win32Desktop::ClipboardText() {
  // Busy (another program holds it open): no text this time.
  if (!::OpenClipboard(nullptr)) return Text();
  Text text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      // Up to the NUL, but never past the end of the block.
      const std::size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
      const std::size_t length =
          capacity == 0
              ? std::wcslen(chars)
              : static_cast<std::size_t>(std::find(chars, chars + capacity, L'\0') - chars);
      text = Cp936FromWide(std::wstring(chars, length));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

bool Win32Desktop::RegisterDialHotkey(std::int32_t id) {
  // No MOD_NOREPEAT: a held key dials again on every auto-repeat.
  if (!::RegisterHotKey(mainWindow_, id, MOD_CONTROL, VK_F11)) return false;
  lastHotkeyId_ = std::max(lastHotkeyId_, id);
  return true;
}

void Win32Desktop::ShowFatalError(const std::string& utf8Message) {
  ::MessageBoxW(nullptr, WideFromUtf8(utf8Message).c_str(), L"Quorvant", MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK Win32Desktop::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Desktop*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT Win32Desktop::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      if (const LabelControl* label = LabelByWindow(reinterpret_cast<HWND>(lParam))) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, label->colour);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_拨号 && HIWORD(wParam) == BN_CLICKED) {
        DialCommand();
        return 0;
      }
      break;
    case WM_HOTKEY: {
      const auto id = static_cast<std::int32_t>(wParam);
      // The report goes to 标签1's feedback event at once, on this thread.
      if (id >= FIRST_HOTKEY_ID && id <= lastHotkeyId_) HotkeyFeedback(id, 0);
      return 0;
    }
    case WM_TIMER:
      if (wParam == ID_时钟1) {
        GuardTick();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Remember which control had the focus, as a dialog does.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus == 编辑框1_ || focus == 拨号_) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      ::SetFocus(lastFocus_ != nullptr ? lastFocus_ : 编辑框1_);
      return 0;
    case WM_DESTROY:
      ::KillTimer(window, ID_时钟1);
      DestroyServerUnit();
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      mainWindow_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorvant::win32
