#include "platform/desktop.h"

#include <cstdlib>

namespace quorvant {

namespace {
Desktop* installed = nullptr;
}

Desktop& TheDesktop() {
  // A call before a front end installed itself is a programming error.
  if (installed == nullptr) std::abort();
  return *installed;
}

Desktop* InstalledDesktop() { return installed; }

void InstallDesktop(Desktop* desktop) { installed = desktop; }

}  // namespace quorvant
