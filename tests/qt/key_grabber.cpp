// Test helper: another X client that wants Ctrl+F11.
//   key_grabber hold all|last   grabs every lock combination of Ctrl+F11, or
//                               only the last one the program asks for; prints
//                               "held" (or "refused", exit 1) and keeps the
//                               grab until its standard input closes.
//   key_grabber probe           prints "free" (exit 0) when it could grab every
//                               combination, "taken" (exit 1) otherwise; lets go.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/qt/x11_keys.h"

namespace x11 = quorvant::x11;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: key_grabber hold all|last | probe\n");
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "key_grabber: no X display\n");
    return 2;
  }
  const xcb_window_t root = x11::RootWindow(connection);
  std::vector<x11::KeyGrab> grabs = x11::DialKeyGrabs(connection);

  if (std::strcmp(argv[1], "probe") == 0) {
    const bool free = x11::GrabAll(connection, root, grabs);
    if (free) x11::UngrabAll(connection, root, grabs);
    std::printf(free ? "free\n" : "taken\n");
    xcb_disconnect(connection);
    return free ? 0 : 1;
  }

  if (std::strcmp(argv[1], "hold") == 0 && argc == 3) {
    if (std::strcmp(argv[2], "last") == 0 && !grabs.empty()) grabs = {grabs.back()};
    if (!x11::GrabAll(connection, root, grabs)) {
      std::printf("refused\n");
      return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    xcb_disconnect(connection);
    return 0;
  }
  std::fprintf(stderr, "key_grabber: unknown mode\n");
  return 2;
}
