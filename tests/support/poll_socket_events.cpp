// Winsock's select() takes at most FD_SETSIZE sockets, 64 unless raised here,
// before any Winsock header.
#ifdef _WIN32
#define FD_SETSIZE 1024
#endif

#include "poll_socket_events.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "link/socket_api.h"

namespace quorvant::test {

bool PollSocketEvents::Watch(NativeSocket socket, SocketInterest interest,
                             SocketCallback callback) {
  if (socket == NO_SOCKET || !sockets::MakeNonBlocking(socket)) return false;
  Unwatch(socket);
  watchers_.push_back({socket, interest, std::move(callback), nextGeneration_++});
  return true;
}

void PollSocketEvents::Unwatch(NativeSocket socket) {
  watchers_.erase(std::remove_if(watchers_.begin(), watchers_.end(),
                                 [socket](const Watcher& w) { return w.socket == socket; }),
                  watchers_.end());
}

void PollSocketEvents::RunLater(int milliseconds, std::function<void()> action) {
  laterDelays_.push_back(milliseconds);
  later_.push_back({Clock::now() + std::chrono::milliseconds(milliseconds), std::move(action)});
}

int PollSocketEvents::RunOnce(int milliseconds) {
  int wait = std::max(milliseconds, 0);
  const Clock::time_point now = Clock::now();
  for (const Later& later : later_) {
    const auto untilDue =
        std::chrono::duration_cast<std::chrono::milliseconds>(later.due - now).count();
    wait = static_cast<int>(std::clamp<long long>(untilDue, 0, wait));
  }

  // Readiness is taken for the watchers as they stand now; a callback may
  // unwatch (or close and reuse) another socket before its turn comes.
  std::vector<std::pair<NativeSocket, std::uint64_t>> polled;
  std::vector<NativeSocket> candidates;
  for (const Watcher& w : watchers_) {
    polled.emplace_back(w.socket, w.generation);
    candidates.push_back(w.socket);
  }
  const std::vector<bool> ready = WaitReady(candidates, wait);

  int ran = 0;
  for (std::size_t i = 0; i < polled.size(); ++i) {
    if (!ready[i]) continue;
    const Watcher* watcher = Find(polled[i].first);
    if (watcher == nullptr || watcher->generation != polled[i].second) continue;
    const bool listener = watcher->interest == SocketInterest::ConnectionPending;
    // A copy: the callback may unwatch its own socket while it runs.
    const SocketCallback callback = watcher->callback;
    ++(listener ? pendingCallbacks_ : connectionCallbacks_);
    ++ran;
    callback(polled[i].first, listener ? SocketSignal::ConnectionPending : SocketSignal::Readable);
  }
  return ran + RunDueActions();
}

void PollSocketEvents::RunFor(int milliseconds) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) break;
    RunOnce(static_cast<int>(left));
  }
  RunOnce(0);
}

bool PollSocketEvents::RunUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  while (!done()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return done();
    // Short passes, so that `done` is looked at soon after each callback.
    RunOnce(static_cast<int>(std::min<long long>(left, 20)));
  }
  return true;
}

bool PollSocketEvents::IsWatched(NativeSocket socket) const { return Find(socket) != nullptr; }

std::size_t PollSocketEvents::WatchedCount(SocketInterest interest) const {
  return static_cast<std::size_t>(
      std::count_if(watchers_.begin(), watchers_.end(),
                    [interest](const Watcher& w) { return w.interest == interest; }));
}

int PollSocketEvents::CallbacksRun(SocketInterest interest) const {
  return interest == SocketInterest::ConnectionPending ? pendingCallbacks_ : connectionCallbacks_;
}

const PollSocketEvents::Watcher* PollSocketEvents::Find(NativeSocket socket) const {
  for (const Watcher& w : watchers_) {
    if (w.socket == socket) return &w;
  }
  return nullptr;
}

int PollSocketEvents::RunDueActions() {
  int ran = 0;
  for (;;) {
    const Clock::time_point now = Clock::now();
    const auto due =
        std::find_if(later_.begin(), later_.end(), [now](const Later& l) { return l.due <= now; });
    if (due == later_.end()) return ran;
    // Taken out first: the action may ask for another RunLater.
    const std::function<void()> action = std::move(due->action);
    later_.erase(due);
    action();
    ++ran;
  }
}

#ifdef _WIN32

std::vector<bool> PollSocketEvents::WaitReady(const std::vector<NativeSocket>& candidates,
                                              int milliseconds) {
  std::vector<bool> ready(candidates.size(), false);
  if (candidates.empty()) {
    // select() refuses empty sets on Winsock.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return ready;
  }
  fd_set readable;
  FD_ZERO(&readable);
  for (NativeSocket s : candidates) FD_SET(sockets::ToHandle(s), &readable);
  timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
  if (::select(0, &readable, nullptr, nullptr, &limit) <= 0) return ready;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    ready[i] = FD_ISSET(sockets::ToHandle(candidates[i]), &readable) != 0;
  }
  return ready;
}

#else

std::vector<bool> PollSocketEvents::WaitReady(const std::vector<NativeSocket>& candidates,
                                              int milliseconds) {
  // poll(), not select(): descriptors past FD_SETSIZE are watched as well.
  std::vector<pollfd> entries;
  for (NativeSocket s : candidates) entries.push_back({sockets::ToHandle(s), POLLIN, 0});
  std::vector<bool> ready(candidates.size(), false);
  if (::poll(entries.data(), entries.size(), milliseconds) <= 0) return ready;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ready[i] = (entries[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  }
  return ready;
}

#endif

}  // namespace quorvant::test
