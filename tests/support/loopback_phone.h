// A phone for tests: a real TCP client on loopback that connects from an
// address of its own (127.0.0.2, 127.0.0.55, ...), so that the server sees
// phones at distinct addresses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/types.h"
#include "link/socket_events.h"

namespace quorvant::test {

class LoopbackPhone {
 public:
  // Connects from `sourceAddress` and any free port to 127.0.0.1:`port`.
  // The connection is complete once the server's backlog holds it; the
  // server accepts it when its loop runs.
  LoopbackPhone(const std::string& sourceAddress, std::uint16_t port);
  // Closes the connection if it is still open.
  ~LoopbackPhone();
  LoopbackPhone(const LoopbackPhone&) = delete;
  LoopbackPhone& operator=(const LoopbackPhone&) = delete;

  bool Connected() const { return socket_ != NO_SOCKET; }
  // How the server names this connection: "127.0.0.2:50123".
  PhoneId Id() const { return id_; }

  // Sends every byte, waiting while the connection takes no more.
  bool Send(std::string_view bytes);
  // Sends what the connection takes without waiting; returns the count.
  std::size_t SendSome(std::string_view bytes);
  // Bytes that arrive within `waitMilliseconds`, returning early once
  // `atMost` bytes came or the server closed the connection.
  std::string Receive(std::size_t atMost, int waitMilliseconds);
  // True when the server closes the connection within `waitMilliseconds`
  // (bytes still arriving before the end are read and dropped).
  bool SeesEnd(int waitMilliseconds);

  // An orderly close, as a phone app that quits.
  void Close();
  // An abortive close (the peer gets a reset), as a phone that drops off.
  void Reset();

 private:
  NativeSocket socket_ = NO_SOCKET;
  PhoneId id_;
  bool libraryStarted_ = false;
};

// A TCP socket listening on `port` on every IPv4 address, standing for
// another program that holds the port. Port 0 takes any free port.
class PortHolder {
 public:
  explicit PortHolder(std::uint16_t port = 0);
  ~PortHolder();
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  bool Holding() const { return socket_ != NO_SOCKET; }
  std::uint16_t Port() const { return port_; }

 private:
  NativeSocket socket_ = NO_SOCKET;
  std::uint16_t port_ = 0;
  bool libraryStarted_ = false;
};

}  // namespace quorvant::test
