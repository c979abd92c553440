// 服务器1's endpoint over real loopback sockets, with handlers that record
// what they see.
#include "link/phone_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "loopback_phone.h"
#include "poll_socket_events.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace quorvant {
namespace {

using test::LoopbackPhone;
using test::PollSocketEvents;

constexpr int EVENT_WAIT_MILLISECONDS = 5000;
constexpr int QUIET_MILLISECONDS = 150;

// What a handler saw while it ran.
struct Event {
  std::string kind;  // "entered", "data" or "left"
  PhoneId client;
  std::string data;
  std::vector<PhoneId> table;
};

class PhoneServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server = std::make_unique<PhoneServer>(events, Handlers(), 0);
    ASSERT_TRUE(server->StartListening());
    ASSERT_TRUE(server->IsListening());
    ASSERT_NE(server->ListeningPort(), 0);
  }

  PhoneServerHandlers Handlers() {
    return {[this] { Record("data"); }, [this] { Record("entered"); }, [this] { Record("left"); }};
  }

  void Record(const char* kind) {
    log.push_back({kind, server->CurrentClient(), server->CurrentData(), server->ConnectionIds()});
    if (insideHandler) insideHandler(log.back());
  }

  int Count(const std::string& kind, const PhoneId& client = "") const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const Event& e) {
      return e.kind == kind && (client.empty() || e.client == client);
    }));
  }

  // A phone from `source`, once the server has taken it in.
  std::unique_ptr<LoopbackPhone> Connect(const std::string& source) {
    auto phone = std::make_unique<LoopbackPhone>(source, server->ListeningPort());
    EXPECT_TRUE(phone->Connected());
    const PhoneId id = phone->Id();
    EXPECT_TRUE(events.RunUntil([&] { return Count("entered", id) == 1; }, EVENT_WAIT_MILLISECONDS))
        << id << " was not accepted";
    return phone;
  }

  // All bytes that DataArrived carried from `client`, in order.
  std::string DataFrom(const PhoneId& client) const {
    std::string all;
    for (const Event& e : log) {
      if (e.kind == "data" && e.client == client) all += e.data;
    }
    return all;
  }

  PollSocketEvents events;
  std::vector<Event> log;
  std::function<void(const Event&)> insideHandler;
  std::unique_ptr<PhoneServer> server;
};

TEST_F(PhoneServerTest, NamesEachConnectionByPeerAddressAndPort) {
  const auto a = Connect("127.0.0.2");
  const auto b = Connect("127.0.0.55");
  const auto c = Connect("127.0.0.2");  // the same phone twice: only the port differs
  for (const auto* phone : {a.get(), b.get(), c.get()}) {
    const PhoneId id = phone->Id();
    const std::size_t colon = id.find(':');
    ASSERT_NE(colon, PhoneId::npos);
    const std::string port = id.substr(colon + 1);
    EXPECT_FALSE(port.empty());
    EXPECT_NE(port[0], '0');
    EXPECT_TRUE(std::all_of(port.begin(), port.end(), [](char ch) {
      return ch >= '0' && ch <= '9';
    })) << id;
  }
  EXPECT_EQ(a->Id().rfind("127.0.0.2:", 0), 0u);
  EXPECT_EQ(b->Id().rfind("127.0.0.55:", 0), 0u);
  EXPECT_NE(a->Id(), c->Id());
  EXPECT_EQ(server->ConnectionIds(), (std::vector<PhoneId>{a->Id(), b->Id(), c->Id()}));
}

TEST_F(PhoneServerTest, CurrentClientNamesTheEventOnlyWhileItsHandlerRuns) {
  EXPECT_EQ(server->CurrentClient(), "");
  const auto a = Connect("127.0.0.2");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].client, a->Id());
  // The new row already stands at the end of the table.
  EXPECT_EQ(log[0].table, std::vector<PhoneId>{a->Id()});
  EXPECT_EQ(server->CurrentClient(), "");
  EXPECT_EQ(server->CurrentData(), "");

  ASSERT_TRUE(a->Send("ping"));
  ASSERT_TRUE(events.RunUntil([&] { return Count("data") == 1; }, EVENT_WAIT_MILLISECONDS));
  EXPECT_EQ(log.back().client, a->Id());
  EXPECT_EQ(log.back().data, "ping");
  EXPECT_EQ(server->CurrentClient(), "");
  EXPECT_EQ(server->CurrentData(), "");
}

TEST_F(PhoneServerTest, ClientEnteredComesBeforeTheFirstBytes) {
  // The bytes are already waiting when the connection is accepted.
  LoopbackPhone phone("127.0.0.2", server->ListeningPort());
  ASSERT_TRUE(phone.Send("hello"));
  ASSERT_TRUE(events.RunUntil([&] { return Count("data") == 1; }, EVENT_WAIT_MILLISECONDS));
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].kind, "entered");
  EXPECT_EQ(log[1].kind, "data");
  EXPECT_EQ(log[1].client, phone.Id());
  EXPECT_EQ(log[1].data, "hello");
}

TEST_F(PhoneServerTest, OneNotificationCarriesEverythingReadable) {
  std::string bytes(3000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 256);
  LoopbackPhone phone("127.0.0.2", server->ListeningPort());
  ASSERT_TRUE(phone.Send(bytes));
  ASSERT_TRUE(events.RunUntil([&] { return Count("data") >= 1; }, EVENT_WAIT_MILLISECONDS));
  events.RunFor(50);
  ASSERT_EQ(Count("data"), 1);
  EXPECT_EQ(log.back().data, bytes);
  // Nothing is sent back.
  EXPECT_EQ(phone.Receive(1, QUIET_MILLISECONDS), "");
}

TEST_F(PhoneServerTest, SendDataWritesExactlyTheBytesToTheNamedConnection) {
  const auto a = Connect("127.0.0.2");
  const auto b = Connect("127.0.0.3");
  const std::string bytes("13800138000\0\xFF\r\n", 15);
  EXPECT_TRUE(server->SendData(b->Id(), bytes, 3));
  EXPECT_EQ(b->Receive(bytes.size(), EVENT_WAIT_MILLISECONDS), bytes);
  EXPECT_EQ(b->Receive(1, QUIET_MILLISECONDS), "");
  EXPECT_EQ(a->Receive(1, QUIET_MILLISECONDS), "");
}

TEST_F(PhoneServerTest, SendDataRefusesIdsThatNameNoConnection) {
  const auto a = Connect("127.0.0.2");
  const PhoneId id = a->Id();
  const PhoneId unknown[] = {"", "127.0.0.9:9", id.substr(0, id.size() - 1), id + "0", " " + id};
  for (const PhoneId& other : unknown) {
    EXPECT_FALSE(server->SendData(other, "123", 3)) << '"' << other << '"';
  }
  EXPECT_EQ(a->Receive(1, QUIET_MILLISECONDS), "");
  EXPECT_EQ(server->ConnectionIds(), std::vector<PhoneId>{id});
}

TEST_F(PhoneServerTest, SendDataOfNothingSucceedsAndWritesNothing) {
  const auto a = Connect("127.0.0.2");
  EXPECT_TRUE(server->SendData(a->Id(), "", 3));
  EXPECT_EQ(a->Receive(1, QUIET_MILLISECONDS), "");
}

TEST_F(PhoneServerTest, ClosingTheFirstOfThreeKeepsTheOthersInOrder) {
  const auto a = Connect("127.0.0.2");
  const auto b = Connect("127.0.0.3");
  const auto c = Connect("127.0.0.4");
  bool sentToLeaver = true;
  insideHandler = [&](const Event& e) {
    if (e.kind == "left") sentToLeaver = server->SendData(e.client, "x", 1);
  };
  const PhoneId gone = a->Id();
  a->Close();
  ASSERT_TRUE(events.RunUntil([&] { return Count("left") == 1; }, EVENT_WAIT_MILLISECONDS));
  EXPECT_EQ(log.back().client, gone);
  EXPECT_EQ(log.back().table, (std::vector<PhoneId>{b->Id(), c->Id()}));
  EXPECT_FALSE(sentToLeaver);
  EXPECT_EQ(server->ConnectionIds(), (std::vector<PhoneId>{b->Id(), c->Id()}));
  EXPECT_EQ(server->CurrentClient(), "");

  // Nothing else happens to the other two.
  events.RunFor(50);
  EXPECT_EQ(Count("left"), 1);
  EXPECT_TRUE(server->SendData(c->Id(), "ok", 3));
  EXPECT_EQ(c->Receive(2, EVENT_WAIT_MILLISECONDS), "ok");
}

TEST_F(PhoneServerTest, DestructionClosesEveryConnectionWithoutClientLeft) {
  const auto a = Connect("127.0.0.2");
  const auto b = Connect("127.0.0.3");
  const std::uint16_t port = server->ListeningPort();
  server.reset();
  EXPECT_EQ(Count("left"), 0);
  EXPECT_EQ(events.WatchedCount(SocketInterest::ConnectionPending), 0u);
  EXPECT_EQ(events.WatchedCount(SocketInterest::DataOrClose), 0u);
  EXPECT_TRUE(a->SeesEnd(EVENT_WAIT_MILLISECONDS));
  EXPECT_TRUE(b->SeesEnd(EVENT_WAIT_MILLISECONDS));
  // The listener is gone too.
  EXPECT_FALSE(LoopbackPhone("127.0.0.2", port).Connected());
}

TEST_F(PhoneServerTest, StartListeningFailsWhenThePortIsTaken) {
  const test::PortHolder other;
  ASSERT_TRUE(other.Holding());
  PhoneServer second(events, Handlers(), other.Port());
  EXPECT_FALSE(second.StartListening());
  EXPECT_FALSE(second.IsListening());
  EXPECT_EQ(second.ListeningPort(), 0);
  // Only the first server's listener is watched.
  EXPECT_EQ(events.WatchedCount(SocketInterest::ConnectionPending), 1u);
}

TEST_F(PhoneServerTest, AFloodingPhoneIsReadInBoundedBitesWithoutLoss) {
  const auto phone = Connect("127.0.0.2");
  const PhoneId id = phone->Id();
  std::string stream(1 << 20, '\0');
  for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<char>(i * 31 % 251);

  // The phone sends whatever the connection takes, the loop reads between.
  std::size_t sent = phone->SendSome(stream);
  ASSERT_TRUE(events.RunUntil(
      [&] {
        sent += phone->SendSome(std::string_view(stream).substr(sent));
        return DataFrom(id).size() == stream.size();
      },
      20000));

  std::size_t largest = 0;
  int notifications = 0;
  for (const Event& e : log) {
    if (e.kind != "data") continue;
    ++notifications;
    EXPECT_LE(e.data.size(), MAX_BYTES_PER_NOTIFICATION);
    largest = std::max(largest, e.data.size());
  }
  // More was readable at once than one notification may take.
  EXPECT_EQ(largest, MAX_BYTES_PER_NOTIFICATION);
  EXPECT_GE(notifications, static_cast<int>(stream.size() / MAX_BYTES_PER_NOTIFICATION));
  EXPECT_TRUE(DataFrom(id) == stream) << "bytes lost or out of order";
}

TEST_F(PhoneServerTest, SendingToAConnectionThePhoneResetFailsQuietly) {
#ifndef _WIN32
  // Make sure a stray SIGPIPE would end this process.
  std::signal(SIGPIPE, SIG_DFL);
#endif
  const auto a = Connect("127.0.0.2");
  const PhoneId id = a->Id();
  a->Reset();
  // The reset is not yet noticed by the loop: the row is still there.
  ASSERT_EQ(server->ConnectionIds(), std::vector<PhoneId>{id});
  // The first write learns of the reset, the second writes to a dead pipe.
  EXPECT_FALSE(server->SendData(id, "13800138000", 1));
  EXPECT_FALSE(server->SendData(id, "13800138000", 1));
  EXPECT_EQ(server->ConnectionIds(), std::vector<PhoneId>{id});
  ASSERT_TRUE(events.RunUntil([&] { return Count("left") == 1; }, EVENT_WAIT_MILLISECONDS));
  EXPECT_EQ(log.back().client, id);
  EXPECT_TRUE(server->ConnectionIds().empty());
}

#ifndef _WIN32

// Runs in a child process of its own, since it lowers the descriptor limit.
// Exits 0 after printing "accepting resumed", or 1 saying what went wrong.
[[noreturn]] void AcceptWithoutDescriptors() {
  const auto fail = [](const char* what) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    std::_Exit(1);
  };
  PollSocketEvents events;
  int entered = 0;
  PhoneServer server(events, {nullptr, [&] { ++entered; }, nullptr}, 0);
  if (!server.StartListening()) fail("the server does not listen");
  // The phone's socket needs a descriptor too: it is made first, and its
  // connection waits in the server's backlog.
  LoopbackPhone phone("127.0.0.2", server.ListeningPort());
  if (!phone.Connected()) fail("the phone cannot connect");

  // The sanitizer build checks the dynamic type of shared_ptr control blocks
  // and needs a descriptor the first time it meets one: let it meet the kind
  // the server keeps while descriptors are still to be had.
  const auto sameKind = std::make_shared<PhoneServer*>(&server);
  std::weak_ptr<PhoneServer*>(sameKind).lock();

  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = 64;
  if (setrlimit(RLIMIT_NOFILE, &limit) != 0) fail("cannot lower the descriptor limit");
  std::vector<int> fillers;
  for (int fd; (fd = ::dup(STDERR_FILENO)) >= 0;) fillers.push_back(fd);
  if (errno != EMFILE) fail("the descriptor table did not fill");

  const auto listenerWatched = [&] {
    return events.WatchedCount(SocketInterest::ConnectionPending) == 1;
  };
  // The first attempt fails and sets the listener aside instead of spinning.
  if (!events.RunUntil([&] { return !listenerWatched(); }, 2000)) fail("listener still watched");
  if (events.CallbacksRun(SocketInterest::ConnectionPending) != 1) fail("more than one attempt");
  if (events.LaterDelays() != std::vector<int>{ACCEPT_PAUSE_MILLISECONDS}) fail("no pause asked");
  events.RunFor(ACCEPT_PAUSE_MILLISECONDS / 5);
  if (events.CallbacksRun(SocketInterest::ConnectionPending) != 1) fail("tried during the pause");

  // After the pause it tries again, fails again and pauses again.
  if (!events.RunUntil([&] { return events.CallbacksRun(SocketInterest::ConnectionPending) == 2; },
                       5000)) {
    fail("no second attempt after the pause");
  }
  if (listenerWatched() || events.LaterDelays().size() != 2) fail("the second pause is missing");
  if (entered != 0) fail("a connection was reported without a descriptor");

  // With descriptors free again the waiting phone is accepted.
  for (int fd : fillers) ::close(fd);
  if (!events.RunUntil([&] { return entered == 1; }, 5000)) fail("accepting did not resume");
  if (!listenerWatched()) fail("the listener is not watched after resuming");
  if (server.ConnectionIds() != std::vector<PhoneId>{phone.Id()}) fail("wrong connection table");
  std::fprintf(stderr, "accepting resumed\n");
  std::_Exit(0);
}

TEST(PhoneServerDeathTest, RunningOutOfDescriptorsPausesAcceptingInsteadOfSpinning) {
  EXPECT_EXIT(AcceptWithoutDescriptors(), ::testing::ExitedWithCode(0), "accepting resumed");
}

#else

TEST(PhoneServerDeathTest, RunningOutOfDescriptorsPausesAcceptingInsteadOfSpinning) {
  GTEST_SKIP() << "the descriptor limit is a POSIX matter";
}

#endif

}  // namespace
}  // namespace quorvant
