// Quorvant on Linux: Qt Widgets on X11.
#include <xcb/xcb.h>

#include <QApplication>
#include <cstdio>

#include "app/program.h"
#include "platform/qt/qt_desktop.h"

namespace {

// Qt aborts when it cannot reach the display; say so plainly instead.
bool DisplayReachable() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reachable;
}

}  // namespace

int main() {
  if (!DisplayReachable()) {
    std::fprintf(stderr,
                 "Quorvant needs an X11 display (none could be opened; is DISPLAY set?).\n");
    return 1;
  }
  // The command line is not read; Qt gets one of the program's own that
  // holds it to X11 (through XWayland on a Wayland session).
  static char name[] = "quorvant";
  static char platformOption[] = "-platform";
  static char platform[] = "xcb";
  static char* arguments[] = {name, platformOption, platform, nullptr};
  static int count = 3;
  QApplication application(count, arguments);

  quorvant::QtDesktop desktop;
  quorvant::InstallDesktop(&desktop);
  const int code = quorvant::RunProgram();
  quorvant::InstallDesktop(nullptr);
  return code;
}
