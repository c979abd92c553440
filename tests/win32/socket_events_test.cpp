// Winsock readiness through WSAAsyncSelect, on real loopback sockets: the
// signals that reach the phone server, and the phone server itself on top.
#include "platform/win32/win32_socket_events.h"

#include <gtest/gtest.h>
#include <ws2tcpip.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "link/phone_server.h"

namespace quorvant::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// Dispatches this thread's messages until `done` holds or `limit` has passed.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() >= end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds span) {
  PumpUntil([] { return false; }, span);
}

// True once a message from a socket registration waits in the queue.
bool SocketMessageQueued() {
  return PumpUntil(
      [] {
        MSG message;
        return ::PeekMessageW(&message, nullptr, WM_APP + 1, 0xBFFF, PM_NOREMOVE) != 0;
      },
      std::chrono::milliseconds(5000));
}

class Winsock : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override {
    for (SOCKET s : opened_) ::closesocket(s);
    ::WSACleanup();
  }

  SOCKET Track(SOCKET s) {
    opened_.push_back(s);
    return s;
  }

  // A listener on 127.0.0.1 and any free port.
  SOCKET Listener(std::uint16_t& port) {
    const SOCKET s = Track(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(s, SOMAXCONN), 0);
    int length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
  }

  // A phone: a blocking client connected to 127.0.0.1:port.
  SOCKET Phone(std::uint16_t port) {
    const SOCKET s = Track(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    EXPECT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return s;
  }

  static std::string IdOf(SOCKET phone) {
    sockaddr_in address{};
    int length = sizeof address;
    ::getsockname(phone, reinterpret_cast<sockaddr*>(&address), &length);
    return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  }

  static std::string Receive(SOCKET phone, std::size_t count) {
    DWORD limit = 5000;
    ::setsockopt(phone, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit),
                 sizeof limit);
    std::string data;
    char buffer[256];
    while (data.size() < count) {
      const int got = ::recv(phone, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      data.append(buffer, static_cast<std::size_t>(got));
    }
    return data;
  }

  // True when the desktop closed the connection: the read ends at once.
  static bool ClosedByDesktop(SOCKET phone) {
    DWORD limit = 5000;
    ::setsockopt(phone, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit),
                 sizeof limit);
    char buffer[16];
    const int got = ::recv(phone, buffer, sizeof buffer, 0);
    return got == 0 || (got < 0 && ::WSAGetLastError() == WSAECONNRESET);
  }

  Win32SocketEvents events_;

 private:
  std::vector<SOCKET> opened_;
};

struct Report {
  NativeSocket socket;
  SocketSignal signal;
};

TEST_F(Winsock, AcceptReadAndCloseArriveAsTheirOwnSignals) {
  ASSERT_TRUE(events_.Ready());
  EXPECT_TRUE(events_.ReportsCloseSeparately());
  std::uint16_t port = 0;
  const SOCKET listener = Listener(port);
  std::vector<Report> reports;
  const auto record = [&reports](NativeSocket s, SocketSignal signal) {
    reports.push_back({s, signal});
  };
  ASSERT_TRUE(events_.Watch(listener, SocketInterest::ConnectionPending, record));

  const SOCKET phone = Phone(port);
  ASSERT_TRUE(PumpUntil([&] { return !reports.empty(); }));
  EXPECT_EQ(reports[0].socket, static_cast<NativeSocket>(listener));
  EXPECT_EQ(reports[0].signal, SocketSignal::ConnectionPending);

  const SOCKET accepted = Track(::accept(listener, nullptr, nullptr));
  ASSERT_NE(accepted, INVALID_SOCKET);
  reports.clear();
  ASSERT_TRUE(events_.Watch(accepted, SocketInterest::DataOrClose, record));
  ASSERT_EQ(::send(phone, "138", 3, 0), 3);
  ASSERT_TRUE(PumpUntil([&] { return !reports.empty(); }));
  EXPECT_EQ(reports[0].socket, static_cast<NativeSocket>(accepted));
  EXPECT_EQ(reports[0].signal, SocketSignal::Readable);
  char buffer[8];
  EXPECT_EQ(::recv(accepted, buffer, sizeof buffer, 0), 3);
  // Watching made the socket non-blocking: an empty read would block.
  EXPECT_EQ(::recv(accepted, buffer, sizeof buffer, 0), SOCKET_ERROR);
  EXPECT_EQ(::WSAGetLastError(), WSAEWOULDBLOCK);

  reports.clear();
  ::shutdown(phone, SD_BOTH);
  ASSERT_TRUE(
      PumpUntil([&] { return !reports.empty() && reports.back().signal == SocketSignal::Closed; }));
  EXPECT_EQ(reports.back().socket, static_cast<NativeSocket>(accepted));
  events_.Unwatch(accepted);
  events_.Unwatch(listener);
}

TEST_F(Winsock, UnwatchDropsReportsAlreadyQueued) {
  std::uint16_t port = 0;
  const SOCKET listener = Listener(port);
  int stale = 0;
  ASSERT_TRUE(events_.Watch(listener, SocketInterest::ConnectionPending,
                            [&stale](NativeSocket, SocketSignal) { ++stale; }));
  Phone(port);
  ASSERT_TRUE(SocketMessageQueued());
  events_.Unwatch(listener);
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_EQ(stale, 0);

  // Watched again, the pending connection is reported once, to the new
  // callback only; the report queued for the old registration stays dropped.
  int fresh = 0;
  ASSERT_TRUE(events_.Watch(listener, SocketInterest::ConnectionPending,
                            [&fresh](NativeSocket, SocketSignal) { ++fresh; }));
  PumpFor(std::chrono::milliseconds(500));
  EXPECT_EQ(stale, 0);
  EXPECT_EQ(fresh, 1);
  events_.Unwatch(listener);
}

TEST_F(Winsock, ReportsForAStaleRegistrationOfAReWatchedSocketAreDropped) {
  std::uint16_t port = 0;
  const SOCKET listener = Listener(port);
  int first = 0;
  ASSERT_TRUE(events_.Watch(listener, SocketInterest::ConnectionPending,
                            [&first](NativeSocket, SocketSignal) { ++first; }));
  Phone(port);
  ASSERT_TRUE(SocketMessageQueued());
  // Replaced without Unwatch, as after a paused accept: the queued report
  // belongs to the old registration.
  int second = 0;
  ASSERT_TRUE(events_.Watch(listener, SocketInterest::ConnectionPending,
                            [&second](NativeSocket, SocketSignal) { ++second; }));
  PumpFor(std::chrono::milliseconds(500));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  events_.Unwatch(listener);
}

TEST_F(Winsock, WatchRefusesWhatIsNoSocket) {
  const SOCKET closed = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  ::closesocket(closed);
  const auto ignore = [](NativeSocket, SocketSignal) {};
  EXPECT_FALSE(events_.Watch(NO_SOCKET, SocketInterest::DataOrClose, ignore));
  EXPECT_FALSE(events_.Watch(closed, SocketInterest::DataOrClose, ignore));
  // A refused socket leaves nothing behind: unwatching it is harmless.
  events_.Unwatch(closed);
}

TEST_F(Winsock, RunLaterRunsOnceOnThisThreadAfterReturning) {
  int runs = 0;
  const DWORD thread = ::GetCurrentThreadId();
  DWORD ranOn = 0;
  events_.RunLater(50, [&] {
    ++runs;
    ranOn = ::GetCurrentThreadId();
  });
  EXPECT_EQ(runs, 0);
  ASSERT_TRUE(PumpUntil([&] { return runs > 0; }));
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(ranOn, thread);
}

TEST_F(Winsock, ActionsPendingAtDestructionNeverRun) {
  int runs = 0;
  {
    Win32SocketEvents shortLived;
    shortLived.RunLater(10, [&runs] { ++runs; });
  }
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_EQ(runs, 0);
}

// The phone server on top: a phone's arrival, its bytes, a dial and its
// departure, each as the event the program expects.
class PhoneServerOnWinsock : public Winsock {
 protected:
  void SetUp() override {
    Winsock::SetUp();
    server_ = std::make_unique<PhoneServer>(
        events_,
        PhoneServerHandlers{
            [this] { log_.push_back("data " + server_->CurrentData()); },
            [this] { log_.push_back("entered " + server_->CurrentClient()); },
            [this] { log_.push_back("left " + server_->CurrentClient()); },
        },
        0);
    ASSERT_TRUE(server_->StartListening());
  }
  void TearDown() override {
    server_.reset();
    Winsock::TearDown();
  }

  std::unique_ptr<PhoneServer> server_;
  std::vector<std::string> log_;
};

TEST_F(PhoneServerOnWinsock, APhoneEntersSendsIsDialledAndLeaves) {
  const SOCKET phone = Phone(server_->ListeningPort());
  const std::string id = IdOf(phone);
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 1; }));
  EXPECT_EQ(log_[0], "entered " + id);

  ASSERT_EQ(::send(phone, "hello", 5, 0), 5);
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 2; }));
  EXPECT_EQ(log_[1], "data hello");

  EXPECT_TRUE(server_->SendData(id, "\xd5\xc5\xc8\xfd 13800138000", 3));
  EXPECT_EQ(Receive(phone, 16), "\xd5\xc5\xc8\xfd 13800138000");

  ::closesocket(phone);
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 3; }));
  EXPECT_EQ(log_[2], "left " + id);
  EXPECT_TRUE(server_->ConnectionIds().empty());
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_EQ(log_.size(), 3u) << "one close gives one ClientLeft";
}

TEST_F(PhoneServerOnWinsock, TheFirstOfThreeLeavesAndTheOthersKeepTheirOrder) {
  const SOCKET a = Phone(server_->ListeningPort());
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 1; }));
  const SOCKET b = Phone(server_->ListeningPort());
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 2; }));
  const SOCKET c = Phone(server_->ListeningPort());
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 3; }));
  const std::string idA = IdOf(a);
  EXPECT_EQ(server_->ConnectionIds(), (std::vector<PhoneId>{idA, IdOf(b), IdOf(c)}));

  ::closesocket(a);
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 4; }));
  EXPECT_EQ(log_[3], "left " + idA);
  EXPECT_EQ(server_->ConnectionIds(), (std::vector<PhoneId>{IdOf(b), IdOf(c)}));
  EXPECT_FALSE(server_->SendData(idA, "1", 3));
}

TEST_F(PhoneServerOnWinsock, DestroyingTheServerClosesEveryPhoneWithoutClientLeft) {
  const SOCKET a = Phone(server_->ListeningPort());
  const SOCKET b = Phone(server_->ListeningPort());
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 2; }));
  const std::uint16_t port = server_->ListeningPort();
  server_.reset();
  EXPECT_TRUE(ClosedByDesktop(a));
  EXPECT_TRUE(ClosedByDesktop(b));
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_EQ(log_.size(), 2u);

  // The listener is gone too.
  const SOCKET late = Track(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  EXPECT_NE(::connect(late, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
}

TEST_F(PhoneServerOnWinsock, AllThatAPhoneSendsAtOnceArrivesAndNothingComesBack) {
  const SOCKET phone = Phone(server_->ListeningPort());
  ASSERT_TRUE(PumpUntil([&] { return log_.size() == 1; }));
  const std::string payload(3000, 'x');
  ASSERT_EQ(::send(phone, payload.data(), static_cast<int>(payload.size()), 0), 3000);
  std::size_t received = 0;
  ASSERT_TRUE(PumpUntil([&] {
    received = 0;
    for (std::size_t i = 1; i < log_.size(); ++i) received += log_[i].size() - 5;
    return received >= payload.size();
  }));
  EXPECT_EQ(received, payload.size());
  u_long waiting = 1;
  PumpFor(std::chrono::milliseconds(200));
  ::ioctlsocket(phone, FIONREAD, &waiting);
  EXPECT_EQ(waiting, 0u);
}

}  // namespace
}  // namespace quorvant::win32
