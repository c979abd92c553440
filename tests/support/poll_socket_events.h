// Socket readiness for tests, without a toolkit: a loop of poll() (select()
// on Winsock) that the test runs for as long as it needs. Callbacks run one
// at a time on the test's thread, like a front end's event loop.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/socket_events.h"

namespace quorvant::test {

class PollSocketEvents : public SocketEvents {
 public:
  bool Watch(NativeSocket socket, SocketInterest interest, SocketCallback callback) override;
  void Unwatch(NativeSocket socket) override;
  // A peer's close shows as readability with nothing left to read.
  bool ReportsCloseSeparately() const override { return false; }
  void RunLater(int milliseconds, std::function<void()> action) override;

  // One pass: waits at most `milliseconds` for a socket to become ready,
  // runs the callback of each ready socket that is still watched, then every
  // due RunLater action. Returns the number of callbacks and actions run.
  int RunOnce(int milliseconds);
  // Passes for about `milliseconds`.
  void RunFor(int milliseconds);
  // Passes until `done` holds (checked before each pass) or `timeoutMilliseconds`
  // went by. Returns `done` at the end.
  bool RunUntil(const std::function<bool()>& done, int timeoutMilliseconds);

  // What the code under test did with this loop.
  bool IsWatched(NativeSocket socket) const;
  std::size_t WatchedCount(SocketInterest interest) const;
  // Callbacks run so far for sockets watched with `interest`.
  int CallbacksRun(SocketInterest interest) const;
  // The delays asked of RunLater, oldest first, and how many still wait.
  const std::vector<int>& LaterDelays() const { return laterDelays_; }
  std::size_t PendingLaterCount() const { return later_.size(); }

 private:
  using Clock = std::chrono::steady_clock;

  struct Watcher {
    NativeSocket socket;
    SocketInterest interest;
    SocketCallback callback;
    // Tells a socket watched anew (a reused descriptor) from the one polled.
    std::uint64_t generation;
  };
  struct Later {
    Clock::time_point due;
    std::function<void()> action;
  };

  // Sockets of `candidates` that are ready within `milliseconds`.
  std::vector<bool> WaitReady(const std::vector<NativeSocket>& candidates, int milliseconds);
  const Watcher* Find(NativeSocket socket) const;
  int RunDueActions();

  std::vector<Watcher> watchers_;
  std::vector<Later> later_;
  std::vector<int> laterDelays_;
  std::uint64_t nextGeneration_ = 1;
  int pendingCallbacks_ = 0;
  int connectionCallbacks_ = 0;
};

}  // namespace quorvant::test
