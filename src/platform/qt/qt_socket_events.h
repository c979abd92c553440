// Socket readiness from Qt's event loop: one QSocketNotifier per socket.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <map>

#include "link/socket_events.h"

namespace quorvant {

class QtSocketEvents : public SocketEvents {
 public:
  QtSocketEvents() = default;
  QtSocketEvents(const QtSocketEvents&) = delete;
  QtSocketEvents& operator=(const QtSocketEvents&) = delete;

  bool Watch(NativeSocket socket, SocketInterest interest, SocketCallback callback) override;
  void Unwatch(NativeSocket socket) override;
  // A peer's close shows as readability with nothing left to read.
  bool ReportsCloseSeparately() const override { return false; }
  void RunLater(int milliseconds, std::function<void()> action) override;

 private:
  // Parent of every notifier and pending RunLater timer: none outlives this,
  // a retired notifier waiting for its deferred deletion included.
  QObject owner_;
  std::map<NativeSocket, QSocketNotifier*> notifiers_;
};

}  // namespace quorvant
