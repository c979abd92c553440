// The life of the process, from start-up to exit, on whichever desktop.
#pragma once

#include <string>

namespace quorvant {

// Start-up, the message loop and shutdown, in their fixed order. The desktop
// must be installed. Returns the exit code of a normal shutdown, 0.
int RunProgram();

// Releases the shared state once; run after the message loop has ended.
void ExitCleanup();

// Shows what failed in a modal error box and ends the process with -1,
// without the exit clean-up.
[[noreturn]] void FatalStop(const std::string& what);

}  // namespace quorvant
