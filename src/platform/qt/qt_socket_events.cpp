#include "platform/qt/qt_socket_events.h"

#include <QTimer>
#include <utility>

#include "link/socket_api.h"

namespace quorvant {

namespace {

// Unwatch may run inside the notifier's own activation: stop it at once, but
// delete it only once control is back in the event loop.
void Retire(QSocketNotifier* notifier) {
  notifier->setEnabled(false);
  notifier->deleteLater();
}

}  // namespace

bool QtSocketEvents::Watch(NativeSocket socket, SocketInterest interest, SocketCallback callback) {
  if (socket == NO_SOCKET || !sockets::MakeNonBlocking(socket)) return false;
  Unwatch(socket);
  auto* notifier =
      new QSocketNotifier(static_cast<qintptr>(socket), QSocketNotifier::Read, &owner_);
  const SocketSignal signal = interest == SocketInterest::ConnectionPending
                                  ? SocketSignal::ConnectionPending
                                  : SocketSignal::Readable;
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [socket, signal, callback = std::move(callback)] { callback(socket, signal); });
  notifiers_[socket] = notifier;
  return true;
}

void QtSocketEvents::Unwatch(NativeSocket socket) {
  const auto found = notifiers_.find(socket);
  if (found == notifiers_.end()) return;
  Retire(found->second);
  notifiers_.erase(found);
}

void QtSocketEvents::RunLater(int milliseconds, std::function<void()> action) {
  QTimer::singleShot(milliseconds, &owner_, std::move(action));
}

}  // namespace quorvant
