// The few places where Winsock and POSIX sockets differ, kept in one header
// for the .cpp files that handle sockets. Not for use in other headers.
#pragma once

#include "link/socket_events.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace quorvant::sockets {

#ifdef _WIN32
using Handle = SOCKET;
inline Handle ToHandle(NativeSocket s) { return static_cast<Handle>(s); }
using Length = int;
// Winsock raises no signal on a reset connection.
inline constexpr int SEND_FLAGS = 0;
inline int LastError() { return WSAGetLastError(); }
inline bool LastErrorWouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
inline bool LastErrorOutOfDescriptors() {
  const int e = WSAGetLastError();
  return e == WSAEMFILE || e == WSAENOBUFS;
}
inline void Close(NativeSocket s) { closesocket(static_cast<SOCKET>(s)); }
inline bool BytesReadable(NativeSocket s, unsigned long& count) {
  u_long n = 0;
  if (ioctlsocket(static_cast<SOCKET>(s), FIONREAD, &n) != 0) return false;
  count = n;
  return true;
}
inline bool MakeNonBlocking(NativeSocket s) {
  u_long on = 1;
  return ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &on) == 0;
}
#else
using Handle = int;
inline Handle ToHandle(NativeSocket s) { return static_cast<Handle>(s); }
using Length = socklen_t;
// A write to a connection the phone has reset must fail, not end the process.
inline constexpr int SEND_FLAGS = MSG_NOSIGNAL;
inline int LastError() { return errno; }
inline bool LastErrorWouldBlock() { return errno == EWOULDBLOCK || errno == EAGAIN; }
inline bool LastErrorOutOfDescriptors() {
  return errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
}
inline void Close(NativeSocket s) { ::close(static_cast<int>(s)); }
inline bool BytesReadable(NativeSocket s, unsigned long& count) {
  int n = 0;
  if (::ioctl(static_cast<int>(s), FIONREAD, &n) != 0) return false;
  count = static_cast<unsigned long>(n);
  return true;
}
inline bool MakeNonBlocking(NativeSocket s) {
  const int flags = ::fcntl(static_cast<int>(s), F_GETFL, 0);
  return flags >= 0 && ::fcntl(static_cast<int>(s), F_SETFL, flags | O_NONBLOCK) == 0;
}
#endif

inline NativeSocket FromHandle(Handle h) {
#ifdef _WIN32
  if (h == INVALID_SOCKET) return NO_SOCKET;
#else
  if (h < 0) return NO_SOCKET;
#endif
  return static_cast<NativeSocket>(h);
}

// Waits until `s` can take data: true when it can, false on time-out or error.
inline bool WaitWritable(NativeSocket s, int timeoutSeconds) {
#ifdef _WIN32
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(ToHandle(s), &writable);
  timeval limit{timeoutSeconds, 0};
  return ::select(0, nullptr, &writable, nullptr, &limit) == 1;
#else
  // poll, not select: descriptors past FD_SETSIZE are legal here.
  pollfd entry{ToHandle(s), POLLOUT, 0};
  const long long ms = static_cast<long long>(timeoutSeconds) * 1000;
  const int r = ::poll(&entry, 1, ms > 2147483647 ? 2147483647 : static_cast<int>(ms));
  return r == 1 && (entry.revents & POLLOUT) != 0;
#endif
}

// Winsock must be started before use and stopped after; POSIX needs neither.
// Both calls nest.
inline bool StartLibrary() {
#ifdef _WIN32
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
#else
  return true;
#endif
}
inline void StopLibrary() {
#ifdef _WIN32
  WSACleanup();
#endif
}

class Library {
 public:
  Library() : ready_(StartLibrary()) {}
  ~Library() {
    if (ready_) StopLibrary();
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool Ready() const { return ready_; }

 private:
  bool ready_ = true;
};

}  // namespace quorvant::sockets
