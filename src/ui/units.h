// The units of the main window that are not drawn, and the events that the
// front end passes on to the program.
#pragma once

#include <cstdint>

#include "link/phone_server.h"
#include "link/socket_events.h"

namespace quorvant {

// Creates 服务器1 with its three events bound and starts it listening. The
// program listens on PHONE_PORT; tests pass 0 for any free port.
void CreateServerUnit(SocketEvents& events, std::uint16_t port = PHONE_PORT);
// Closes every phone connection and the listener, without ClientLeft.
void DestroyServerUnit();
// The server unit while the window exists; null before and after.
PhoneServer* 服务器1();

}  // namespace quorvant
