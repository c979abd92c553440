#include "app/program.h"

#include <cstdio>
#include <cstdlib>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace quorvant {

namespace {
bool exitCleanupRegistered = false;
}

int RunProgram() {
  PhoneList.clear();
  exitCleanupRegistered = true;
  Desktop& desktop = TheDesktop();
  if (!desktop.BuildMainWindow()) FatalStop("the main window could not be created.");
  desktop.RunMessageLoop();
  if (exitCleanupRegistered) {
    exitCleanupRegistered = false;
    ExitCleanup();
  }
  return 0;
}

void ExitCleanup() {
  PhoneList.clear();
  PhoneList.shrink_to_fit();
  LocalAddress.clear();
  LocalAddress.shrink_to_fit();
}

void FatalStop(const std::string& what) {
  // Showing the box may itself allocate; a failure in there must not loop.
  static bool stopping = false;
  if (!stopping) {
    stopping = true;
    exitCleanupRegistered = false;
    const std::string message = "Quorvant has to stop: " + what;
    std::fprintf(stderr, "%s\n", message.c_str());
    if (Desktop* desktop = InstalledDesktop()) desktop->ShowFatalError(message);
  }
  std::fflush(nullptr);
  std::_Exit(-1);
}

}  // namespace quorvant
