#include "loopback_phone.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "link/socket_api.h"

namespace quorvant::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

bool WaitReadable(NativeSocket s, int milliseconds) {
#ifdef _WIN32
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(sockets::ToHandle(s), &readable);
  timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
  return ::select(0, &readable, nullptr, nullptr, &limit) == 1;
#else
  pollfd entry{sockets::ToHandle(s), POLLIN, 0};
  return ::poll(&entry, 1, milliseconds) == 1;
#endif
}

sockaddr_in Address(const char* dotted, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = ::inet_addr(dotted);
  return address;
}

std::uint16_t LocalPort(NativeSocket s) {
  sockaddr_in address{};
  sockets::Length length = sizeof address;
  if (::getsockname(sockets::ToHandle(s), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

}  // namespace

LoopbackPhone::LoopbackPhone(const std::string& sourceAddress, std::uint16_t port)
    : libraryStarted_(sockets::StartLibrary()) {
  const NativeSocket s = sockets::FromHandle(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (s == NO_SOCKET) return;
  const sockaddr_in source = Address(sourceAddress.c_str(), 0);
  const sockaddr_in server = Address("127.0.0.1", port);
  if (::bind(sockets::ToHandle(s), reinterpret_cast<const sockaddr*>(&source), sizeof source) !=
          0 ||
      ::connect(sockets::ToHandle(s), reinterpret_cast<const sockaddr*>(&server), sizeof server) !=
          0 ||
      !sockets::MakeNonBlocking(s)) {
    std::fprintf(stderr, "LoopbackPhone: cannot connect from %s (error %d)\n",
                 sourceAddress.c_str(), sockets::LastError());
    sockets::Close(s);
    return;
  }
  socket_ = s;
  id_ = sourceAddress + ":" + std::to_string(LocalPort(s));
}

LoopbackPhone::~LoopbackPhone() {
  Close();
  if (libraryStarted_) sockets::StopLibrary();
}

bool LoopbackPhone::Send(std::string_view bytes) {
  const Clock::time_point end = Clock::now() + std::chrono::seconds(10);
  while (!bytes.empty()) {
    const std::size_t put = SendSome(bytes);
    bytes.remove_prefix(put);
    if (put == 0 && (!Connected() || !sockets::WaitWritable(socket_, 1) || Clock::now() > end)) {
      return false;
    }
  }
  return true;
}

std::size_t LoopbackPhone::SendSome(std::string_view bytes) {
  std::size_t sent = 0;
  while (Connected() && sent < bytes.size()) {
    const std::size_t rest = std::min<std::size_t>(bytes.size() - sent, 1 << 20);
    const int put = ::send(sockets::ToHandle(socket_), bytes.data() + sent, static_cast<int>(rest),
                           sockets::SEND_FLAGS);
    if (put <= 0) break;
    sent += static_cast<std::size_t>(put);
  }
  return sent;
}

std::string LoopbackPhone::Receive(std::size_t atMost, int waitMilliseconds) {
  std::string received;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
  char buffer[64 * 1024];
  while (Connected() && received.size() < atMost) {
    if (!WaitReadable(socket_, MillisecondsLeft(end))) break;
    const std::size_t want = std::min(sizeof buffer, atMost - received.size());
    const int got = ::recv(sockets::ToHandle(socket_), buffer, static_cast<int>(want), 0);
    if (got <= 0) {
      if (got < 0 && sockets::LastErrorWouldBlock()) continue;
      break;
    }
    received.append(buffer, static_cast<std::size_t>(got));
  }
  return received;
}

bool LoopbackPhone::SeesEnd(int waitMilliseconds) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
  char buffer[4096];
  while (Connected()) {
    if (!WaitReadable(socket_, MillisecondsLeft(end))) return false;
    const int got = ::recv(sockets::ToHandle(socket_), buffer, static_cast<int>(sizeof buffer), 0);
    if (got == 0) return true;
    if (got < 0 && !sockets::LastErrorWouldBlock()) return true;  // reset: ended too
  }
  return false;
}

void LoopbackPhone::Close() {
  if (!Connected()) return;
  sockets::Close(socket_);
  socket_ = NO_SOCKET;
}

void LoopbackPhone::Reset() {
  if (!Connected()) return;
  linger abort{};
  abort.l_onoff = 1;
  abort.l_linger = 0;
  ::setsockopt(sockets::ToHandle(socket_), SOL_SOCKET, SO_LINGER,
               reinterpret_cast<const char*>(&abort), sizeof abort);
  Close();
}

PortHolder::PortHolder(std::uint16_t port) : libraryStarted_(sockets::StartLibrary()) {
  const NativeSocket s = sockets::FromHandle(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (s == NO_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  if (::bind(sockets::ToHandle(s), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
          0 ||
      ::listen(sockets::ToHandle(s), SOMAXCONN) != 0) {
    sockets::Close(s);
    return;
  }
  socket_ = s;
  port_ = LocalPort(s);
}

PortHolder::~PortHolder() {
  if (socket_ != NO_SOCKET) sockets::Close(socket_);
  if (libraryStarted_) sockets::StopLibrary();
}

}  // namespace quorvant::test
