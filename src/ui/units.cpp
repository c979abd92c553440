#include "ui/units.h"

#include <memory>

#include "link/phone_list.h"

namespace quorvant {

namespace {
std::unique_ptr<PhoneServer> server;
}

void CreateServerUnit(SocketEvents& events, std::uint16_t port) {
  server = std::make_unique<PhoneServer>(events,
                                         PhoneServerHandlers{
                                             [] {},  // what phones send is read and dropped
                                             [] { OnClientEntered(*server); },
                                             [] { OnClientLeft(*server); },
                                         },
                                         port);
  // A port that cannot be had leaves the window working, silently.
  server->StartListening();
}

void DestroyServerUnit() { server.reset(); }

PhoneServer* 服务器1() { return server.get(); }

}  // namespace quorvant
