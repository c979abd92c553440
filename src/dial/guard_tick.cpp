#include "dial/guard_tick.h"

#include <cstdio>

#include "app/shared_state.h"
#include "app/texts.h"
#include "dial/clock.h"
#include "dial/dial_command.h"
#include "platform/desktop.h"

namespace quorvant {

void GuardTick() {
  if (DialGuardPassed()) {
    TheDesktop().SetCaption(Label::安全计时, GUARD_SAFE);
    return;
  }
  // A second reading: when the second turned since the test, the label shows
  // the later one.
  const std::int32_t elapsed = ElapsedSeconds(CurrentTime(), LastDialTime);
  const double remaining = DIAL_GUARD_SECONDS - static_cast<double>(elapsed);
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.13g", remaining);
  TheDesktop().SetCaption(Label::安全计时, Text(GUARD_WAIT_PREFIX) + digits + GUARD_WAIT_SUFFIX);
}

}  // namespace quorvant
