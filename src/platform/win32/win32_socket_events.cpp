#include "platform/win32/win32_socket_events.h"

#include <utility>

namespace quorvant::win32 {

namespace {

constexpr wchar_t CLASS_NAME[] = L"QuorvantSocketEvents";

// Each registration posts a message number of its own, taken in turn from
// this range. A message still queued for a socket that was unwatched (or
// closed, its handle reused) then carries a number that no longer matches
// and is dropped.
constexpr UINT FIRST_SOCKET_MESSAGE = WM_APP + 1;
constexpr UINT LAST_SOCKET_MESSAGE = 0xBFFF;

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(instance, CLASS_NAME, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = CLASS_NAME;
  return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace

Win32SocketEvents::Win32SocketEvents() : lastMessage_(LAST_SOCKET_MESSAGE) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, &Win32SocketEvents::WindowProc)) return;
  window_ = ::CreateWindowExW(0, CLASS_NAME, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              nullptr);
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

Win32SocketEvents::~Win32SocketEvents() {
  if (window_ == nullptr) return;
  for (const auto& entry : watched_) {
    ::WSAAsyncSelect(static_cast<SOCKET>(entry.first), window_, 0, 0);
  }
  for (const auto& entry : pending_) ::KillTimer(window_, entry.first);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

UINT Win32SocketEvents::NextMessage() {
  lastMessage_ = lastMessage_ >= LAST_SOCKET_MESSAGE ? FIRST_SOCKET_MESSAGE : lastMessage_ + 1;
  return lastMessage_;
}

bool Win32SocketEvents::Watch(NativeSocket socket, SocketInterest interest,
                              SocketCallback callback) {
  if (window_ == nullptr || socket == NO_SOCKET) return false;
  const long events =
      interest == SocketInterest::ConnectionPending ? FD_ACCEPT : FD_READ | FD_CLOSE;
  const UINT message = NextMessage();
  // Recorded first: a condition that already holds is posted at once.
  watched_[socket] = Watched{message, std::move(callback)};
  // WSAAsyncSelect also makes the socket non-blocking.
  if (::WSAAsyncSelect(static_cast<SOCKET>(socket), window_, message, events) != 0) {
    watched_.erase(socket);
    return false;
  }
  return true;
}

void Win32SocketEvents::Unwatch(NativeSocket socket) {
  const auto entry = watched_.find(socket);
  if (entry == watched_.end()) return;
  if (window_ != nullptr) ::WSAAsyncSelect(static_cast<SOCKET>(socket), window_, 0, 0);
  watched_.erase(entry);
}

void Win32SocketEvents::RunLater(int milliseconds, std::function<void()> action) {
  if (window_ == nullptr) return;
  const UINT_PTR id = ++lastTimer_;
  const UINT delay = milliseconds > 0 ? static_cast<UINT>(milliseconds) : 0;
  if (::SetTimer(window_, id, delay, nullptr) == 0) return;
  pending_[id] = std::move(action);
}

void Win32SocketEvents::OnSocketMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const NativeSocket socket = static_cast<NativeSocket>(wParam);
  const auto entry = watched_.find(socket);
  if (entry == watched_.end() || entry->second.message != message) return;
  SocketSignal signal;
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_ACCEPT:
      signal = SocketSignal::ConnectionPending;
      break;
    case FD_READ:
      signal = SocketSignal::Readable;
      break;
    case FD_CLOSE:
      signal = SocketSignal::Closed;
      break;
    default:
      return;
  }
  // A copy: the callback may unwatch its own socket, erasing the entry.
  const SocketCallback callback = entry->second.callback;
  callback(socket, signal);
}

void Win32SocketEvents::OnTimer(UINT_PTR id) {
  ::KillTimer(window_, id);
  const auto entry = pending_.find(id);
  if (entry == pending_.end()) return;
  const std::function<void()> action = std::move(entry->second);
  pending_.erase(entry);
  action();
}

LRESULT CALLBACK Win32SocketEvents::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = reinterpret_cast<Win32SocketEvents*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message >= FIRST_SOCKET_MESSAGE && message <= LAST_SOCKET_MESSAGE) {
      self->OnSocketMessage(message, wParam, lParam);
      return 0;
    }
    if (message == WM_TIMER) {
      self->OnTimer(static_cast<UINT_PTR>(wParam));
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorvant::win32
