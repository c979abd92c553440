// How socket readiness reaches the phone server: the front end watches the
// sockets with its own event loop (QSocketNotifier, WSAAsyncSelect) and calls
// back on the UI thread, one notification at a time.
#pragma once

#include <cstdint>
#include <functional>

namespace quorvant {

// A BSD socket handle: a file descriptor on POSIX, a SOCKET on Windows.
using NativeSocket = std::uintptr_t;
inline constexpr NativeSocket NO_SOCKET = static_cast<NativeSocket>(-1);

enum class SocketInterest {
  ConnectionPending,  // a listener: a connection waits to be accepted
  DataOrClose,        // a connection: bytes to read, or the peer closed
};

enum class SocketSignal { ConnectionPending, Readable, Closed };

using SocketCallback = std::function<void(NativeSocket, SocketSignal)>;

class SocketEvents {
 public:
  virtual ~SocketEvents() = default;

  // Starts reporting the readiness of `socket` to `callback`, and makes the
  // socket non-blocking. False when the platform refuses.
  virtual bool Watch(NativeSocket socket, SocketInterest interest, SocketCallback callback) = 0;
  // Stops all reports for `socket`; no callback for it runs afterwards.
  virtual void Unwatch(NativeSocket socket) = 0;

  // True when a peer's close arrives as a Closed signal of its own (Winsock);
  // false when it shows only as readability with nothing left to read.
  virtual bool ReportsCloseSeparately() const = 0;

  // Runs `action` once on the UI thread after about `milliseconds`.
  virtual void RunLater(int milliseconds, std::function<void()> action) = 0;
};

}  // namespace quorvant
