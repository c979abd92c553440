#include "platform/qt/qt_socket_events.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>
#include <memory>
#include <vector>

#include "test_support.h"

namespace quorvant {
namespace {

using testing_qt::WaitFor;

// A connected pair of local sockets; the test watches `ours` and writes to
// `theirs`.
struct SocketPair {
  SocketPair() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    ours = fds[0];
    theirs = fds[1];
  }
  ~SocketPair() {
    if (ours >= 0) ::close(ours);
    if (theirs >= 0) ::close(theirs);
  }
  void Send(const char* bytes) const { ASSERT_GT(::send(theirs, bytes, 1, 0), 0); }
  int ours = -1;
  int theirs = -1;
};

TEST(QtSocketEventsTest, WatchMakesTheSocketNonBlockingAndReportsReadability) {
  QtSocketEvents events;
  SocketPair pair;
  std::vector<SocketSignal> seen;
  ASSERT_TRUE(events.Watch(static_cast<NativeSocket>(pair.ours), SocketInterest::DataOrClose,
                           [&](NativeSocket socket, SocketSignal signal) {
                             EXPECT_EQ(socket, static_cast<NativeSocket>(pair.ours));
                             seen.push_back(signal);
                             char byte;
                             ::recv(pair.ours, &byte, 1, 0);
                           }));
  EXPECT_NE(::fcntl(pair.ours, F_GETFL) & O_NONBLOCK, 0);
  EXPECT_FALSE(events.ReportsCloseSeparately());

  pair.Send("x");
  ASSERT_TRUE(WaitFor([&] { return !seen.empty(); }));
  EXPECT_EQ(seen.front(), SocketSignal::Readable);
  events.Unwatch(static_cast<NativeSocket>(pair.ours));
}

TEST(QtSocketEventsTest, ListenersReportPendingConnections) {
  QtSocketEvents events;
  SocketPair pair;
  SocketSignal seen = SocketSignal::Closed;
  ASSERT_TRUE(events.Watch(static_cast<NativeSocket>(pair.ours), SocketInterest::ConnectionPending,
                           [&](NativeSocket socket, SocketSignal signal) {
                             seen = signal;
                             events.Unwatch(socket);
                           }));
  pair.Send("x");
  EXPECT_TRUE(WaitFor([&] { return seen == SocketSignal::ConnectionPending; }));
}

TEST(QtSocketEventsTest, UnwatchFromInsideItsOwnReportStopsFurtherReports) {
  QtSocketEvents events;
  SocketPair pair;
  int reports = 0;
  // What the phone server does at a peer's close: stop watching and close the
  // socket, from inside the notifier's own activation.
  ASSERT_TRUE(events.Watch(static_cast<NativeSocket>(pair.ours), SocketInterest::DataOrClose,
                           [&](NativeSocket socket, SocketSignal) {
                             ++reports;
                             events.Unwatch(socket);
                             ::close(static_cast<int>(socket));
                             pair.ours = -1;
                           }));
  pair.Send("x");
  ASSERT_TRUE(WaitFor([&] { return reports == 1; }));
  QTest::qWait(100);
  EXPECT_EQ(reports, 1);
}

TEST(QtSocketEventsTest, WatchingAgainReplacesTheOldReport) {
  QtSocketEvents events;
  SocketPair pair;
  int first = 0;
  int second = 0;
  const auto socket = static_cast<NativeSocket>(pair.ours);
  ASSERT_TRUE(events.Watch(socket, SocketInterest::DataOrClose,
                           [&](NativeSocket, SocketSignal) { ++first; }));
  ASSERT_TRUE(events.Watch(socket, SocketInterest::DataOrClose, [&](NativeSocket, SocketSignal) {
    ++second;
    char byte;
    ::recv(pair.ours, &byte, 1, 0);
  }));
  pair.Send("x");
  ASSERT_TRUE(WaitFor([&] { return second > 0; }));
  EXPECT_EQ(first, 0);
  events.Unwatch(socket);
}

TEST(QtSocketEventsTest, WatchRefusesAnInvalidSocket) {
  QtSocketEvents events;
  EXPECT_FALSE(
      events.Watch(NO_SOCKET, SocketInterest::DataOrClose, [](NativeSocket, SocketSignal) {}));
  // A descriptor that is not open cannot be made non-blocking.
  EXPECT_FALSE(events.Watch(static_cast<NativeSocket>(1000000), SocketInterest::DataOrClose,
                            [](NativeSocket, SocketSignal) {}));
}

TEST(QtSocketEventsTest, RunLaterRunsOnceAndNotAfterTheEventsAreGone) {
  int ran = 0;
  {
    QtSocketEvents events;
    events.RunLater(20, [&] { ++ran; });
    ASSERT_TRUE(WaitFor([&] { return ran == 1; }));
  }
  {
    auto events = std::make_unique<QtSocketEvents>();
    events->RunLater(20, [&] { ++ran; });
    events.reset();
  }
  QTest::qWait(100);
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace quorvant
