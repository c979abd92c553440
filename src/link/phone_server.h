// 服务器1: the TCP endpoint that phones connect to. Portable over BSD sockets;
// readiness comes from the front end through SocketEvents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/types.h"
#include "link/socket_events.h"

namespace quorvant {

inline constexpr std::uint16_t PHONE_PORT = 19730;
inline constexpr std::size_t READ_CHUNK_BYTES = 1024;
// One readiness notification reads at most this much, so a phone that sends
// without pause can neither hold the UI thread nor grow memory without bound.
inline constexpr std::size_t MAX_BYTES_PER_NOTIFICATION = 64 * 1024;
// After accepting failed for lack of descriptors, wait this long before
// trying again instead of spinning on the still-pending connection.
inline constexpr int ACCEPT_PAUSE_MILLISECONDS = 500;

struct PhoneServerHandlers {
  std::function<void()> DataArrived;
  std::function<void()> ClientEntered;
  std::function<void()> ClientLeft;
};

class PhoneServer {
 public:
  // Initialises the sockets library; listening starts with StartListening.
  // The program always uses PHONE_PORT; tests may pass 0 for any free port.
  PhoneServer(SocketEvents& events, PhoneServerHandlers handlers, std::uint16_t port = PHONE_PORT);
  // Closes every connection in table order, then the listener. No ClientLeft.
  ~PhoneServer();
  PhoneServer(const PhoneServer&) = delete;
  PhoneServer& operator=(const PhoneServer&) = delete;

  bool StartListening();

  // The id of the connection whose event is being delivered; empty otherwise.
  Text CurrentClient() const;
  // The bytes of the DataArrived event being delivered; empty otherwise.
  const std::string& CurrentData() const;

  // Writes `data` to the connection named `phoneId`, after waiting at most
  // `timeoutSeconds` for it to take data. True when every byte was handed over.
  bool SendData(const Text& phoneId, std::string_view data, int timeoutSeconds);

  bool IsListening() const;
  // The port actually bound (useful when constructed with port 0).
  std::uint16_t ListeningPort() const;
  // Ids of the open connections, in order of acceptance.
  std::vector<PhoneId> ConnectionIds() const;

 private:
  struct Connection {
    NativeSocket socket;
    PhoneId id;
  };

  void OnSignal(NativeSocket socket, SocketSignal signal);
  void Accept();
  void PauseAccepting();
  void ResumeAccepting();
  void Read(NativeSocket socket);
  void Close(NativeSocket socket);
  void Deliver(const std::function<void()>& handler, const PhoneId& id);
  Connection* FindBySocket(NativeSocket socket);

  SocketEvents& events_;
  PhoneServerHandlers handlers_;
  std::uint16_t port_;
  bool socketsReady_ = false;
  NativeSocket listener_ = NO_SOCKET;
  bool acceptPaused_ = false;
  std::vector<Connection> connections_;
  Text currentClient_;
  std::string currentData_;
  // Cleared on destruction so that a pending RunLater does nothing.
  std::shared_ptr<PhoneServer*> self_;
};

}  // namespace quorvant
