// Entry of the Windows program: installs the Win32 desktop and runs the
// program's life from start-up to exit. The command line is not read.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  static quorvant::win32::Win32Desktop desktop;
  quorvant::InstallDesktop(&desktop);
  return quorvant::RunProgram();
}
