// Socket readiness through WSAAsyncSelect: Winsock posts a message to a
// hidden message-only window, and the message loop of the UI thread hands it
// to the phone server.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <functional>
#include <map>

#include "link/socket_events.h"

namespace quorvant::win32 {

class Win32SocketEvents final : public SocketEvents {
 public:
  Win32SocketEvents();
  ~Win32SocketEvents() override;
  Win32SocketEvents(const Win32SocketEvents&) = delete;
  Win32SocketEvents& operator=(const Win32SocketEvents&) = delete;

  // False when the hidden window could not be created.
  bool Ready() const { return window_ != nullptr; }

  bool Watch(NativeSocket socket, SocketInterest interest, SocketCallback callback) override;
  void Unwatch(NativeSocket socket) override;
  bool ReportsCloseSeparately() const override { return true; }
  void RunLater(int milliseconds, std::function<void()> action) override;

 private:
  struct Watched {
    UINT message;  // the message this registration posts
    SocketCallback callback;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnSocketMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT_PTR id);
  UINT NextMessage();

  HWND window_ = nullptr;
  std::map<NativeSocket, Watched> watched_;
  UINT lastMessage_;
  std::map<UINT_PTR, std::function<void()>> pending_;
  UINT_PTR lastTimer_ = 0;
};

}  // namespace quorvant::win32
