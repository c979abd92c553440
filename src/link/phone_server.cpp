#include "link/phone_server.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "link/socket_api.h"

namespace quorvant {

PhoneServer::PhoneServer(SocketEvents& events, PhoneServerHandlers handlers, std::uint16_t port)
    : events_(events),
      handlers_(std::move(handlers)),
      port_(port),
      socketsReady_(sockets::StartLibrary()),
      self_(std::make_shared<PhoneServer*>(this)) {}

PhoneServer::~PhoneServer() {
  *self_ = nullptr;
  for (const Connection& connection : connections_) {
    events_.Unwatch(connection.socket);
    sockets::Close(connection.socket);
  }
  connections_.clear();
  if (listener_ != NO_SOCKET) {
    events_.Unwatch(listener_);
    sockets::Close(listener_);
    listener_ = NO_SOCKET;
  }
  if (socketsReady_) sockets::StopLibrary();
}

bool PhoneServer::StartListening() {
  if (!socketsReady_) return false;
  const NativeSocket s = sockets::FromHandle(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (s == NO_SOCKET) return false;
#ifndef _WIN32
  // Lets a restarted program bind while connections of the last run close.
  // On Windows the same option would let another program steal the port.
  const int on = 1;
  ::setsockopt(sockets::ToHandle(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port_);
  const bool ok =
      ::bind(sockets::ToHandle(s), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
          0 &&
      ::listen(sockets::ToHandle(s), SOMAXCONN) == 0 &&
      events_.Watch(s, SocketInterest::ConnectionPending,
                    [this](NativeSocket socket, SocketSignal signal) { OnSignal(socket, signal); });
  if (!ok) {
    events_.Unwatch(s);
    sockets::Close(s);
    return false;
  }
  listener_ = s;
  return true;
}

Text PhoneServer::CurrentClient() const { return currentClient_; }

const std::string& PhoneServer::CurrentData() const { return currentData_; }

bool PhoneServer::IsListening() const { return listener_ != NO_SOCKET; }

std::uint16_t PhoneServer::ListeningPort() const {
  if (listener_ == NO_SOCKET) return 0;
  sockaddr_in address{};
  sockets::Length length = sizeof address;
  if (::getsockname(sockets::ToHandle(listener_), reinterpret_cast<sockaddr*>(&address), &length) !=
      0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

std::vector<PhoneId> PhoneServer::ConnectionIds() const {
  std::vector<PhoneId> ids;
  for (const Connection& connection : connections_) ids.push_back(connection.id);
  return ids;
}

void PhoneServer::OnSignal(NativeSocket socket, SocketSignal signal) {
  switch (signal) {
    case SocketSignal::ConnectionPending:
      if (socket == listener_) Accept();
      break;
    case SocketSignal::Readable:
      Read(socket);
      break;
    case SocketSignal::Closed:
      Close(socket);
      break;
  }
}

void PhoneServer::Accept() {
  const NativeSocket s =
      sockets::FromHandle(::accept(sockets::ToHandle(listener_), nullptr, nullptr));
  if (s == NO_SOCKET) {
    // Out of descriptors, the pending connection stays pending and would wake
    // us again at once: stop listening for a moment instead of spinning.
    if (sockets::LastErrorOutOfDescriptors()) PauseAccepting();
    return;
  }
  const bool watched =
      events_.Watch(s, SocketInterest::DataOrClose,
                    [this](NativeSocket socket, SocketSignal signal) { OnSignal(socket, signal); });
  if (!watched) {
    sockets::Close(s);
    return;
  }
  sockaddr_in peer{};
  sockets::Length length = sizeof peer;
  const char* address = nullptr;
  if (::getpeername(sockets::ToHandle(s), reinterpret_cast<sockaddr*>(&peer), &length) == 0 &&
      peer.sin_family == AF_INET) {
    address = ::inet_ntoa(peer.sin_addr);
  }
  if (address == nullptr || *address == '\0') {
    events_.Unwatch(s);
    sockets::Close(s);
    return;
  }
  char id[32];
  std::snprintf(id, sizeof id, "%s:%d", address, static_cast<int>(ntohs(peer.sin_port)));
  connections_.push_back({s, id});
  Deliver(handlers_.ClientEntered, id);
}

void PhoneServer::PauseAccepting() {
  if (acceptPaused_ || listener_ == NO_SOCKET) return;
  acceptPaused_ = true;
  events_.Unwatch(listener_);
  std::weak_ptr<PhoneServer*> self = self_;
  events_.RunLater(ACCEPT_PAUSE_MILLISECONDS, [self] {
    if (auto alive = self.lock(); alive && *alive != nullptr) (*alive)->ResumeAccepting();
  });
}

void PhoneServer::ResumeAccepting() {
  acceptPaused_ = false;
  if (listener_ == NO_SOCKET) return;
  const bool watched =
      events_.Watch(listener_, SocketInterest::ConnectionPending,
                    [this](NativeSocket socket, SocketSignal signal) { OnSignal(socket, signal); });
  // Try again later rather than go deaf for good.
  if (!watched) PauseAccepting();
}

void PhoneServer::Read(NativeSocket socket) {
  unsigned long readable = 0;
  if (!sockets::BytesReadable(socket, readable)) return;
  std::size_t want = std::max<std::size_t>(readable, 1);
  std::string received;
  bool peerGone = false;
  while (received.size() < MAX_BYTES_PER_NOTIFICATION) {
    const std::size_t old = received.size();
    const std::size_t ask = std::min(want, MAX_BYTES_PER_NOTIFICATION - old);
    received.resize(old + ask);
    const int got = ::recv(sockets::ToHandle(socket), &received[old], static_cast<int>(ask), 0);
    if (got <= 0) {
      received.resize(old);
      peerGone = got == 0 || !sockets::LastErrorWouldBlock();
      break;
    }
    received.resize(old + static_cast<std::size_t>(got));
    want = READ_CHUNK_BYTES;
  }
  if (!received.empty()) {
    if (const Connection* connection = FindBySocket(socket)) {
      const PhoneId id = connection->id;
      currentData_ = std::move(received);
      Deliver(handlers_.DataArrived, id);
      currentData_.clear();
    }
  }
  // Where the platform reports no close of its own, the end of the stream is it.
  if (peerGone && !events_.ReportsCloseSeparately()) Close(socket);
}

void PhoneServer::Close(NativeSocket socket) {
  const auto row = std::find_if(connections_.begin(), connections_.end(),
                                [socket](const Connection& c) { return c.socket == socket; });
  if (row == connections_.end()) {
    events_.Unwatch(socket);
    sockets::Close(socket);
    return;
  }
  const PhoneId id = row->id;
  connections_.erase(row);
  Deliver(handlers_.ClientLeft, id);
  events_.Unwatch(socket);
  sockets::Close(socket);
}

bool PhoneServer::SendData(const Text& phoneId, std::string_view data, int timeoutSeconds) {
  if (phoneId.empty()) return false;
  const auto row = std::find_if(connections_.begin(), connections_.end(),
                                [&phoneId](const Connection& c) { return c.id == phoneId; });
  if (row == connections_.end()) return false;
  if (data.empty()) return true;
  const NativeSocket socket = row->socket;
  if (!sockets::WaitWritable(socket, timeoutSeconds)) return false;
  std::size_t written = 0;
  while (written < data.size()) {
    const std::size_t rest = std::min<std::size_t>(data.size() - written, 1 << 30);
    const int put = ::send(sockets::ToHandle(socket), data.data() + written, static_cast<int>(rest),
                           sockets::SEND_FLAGS);
    if (put <= 0) return false;
    written += static_cast<std::size_t>(put);
  }
  return true;
}

void PhoneServer::Deliver(const std::function<void()>& handler, const PhoneId& id) {
  currentClient_ = id;
  if (handler) handler();
  currentClient_.clear();
}

PhoneServer::Connection* PhoneServer::FindBySocket(NativeSocket socket) {
  for (Connection& connection : connections_) {
    if (connection.socket == socket) return &connection;
  }
  return nullptr;
}

}  // namespace quorvant
