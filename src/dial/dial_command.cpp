#include "dial/dial_command.h"

#include "app/shared_state.h"
#include "dial/clock.h"
#include "platform/desktop.h"
#include "ui/units.h"

namespace quorvant {

void PrepareDialling() {
  const std::int32_t id = FIRST_HOTKEY_ID;
  DialHotkeyId = TheDesktop().RegisterDialHotkey(id) ? id : 0;
  LastDialTime = CurrentTime() - 2.0 / 1440.0;
}

bool DialGuardPassed() {
  const std::int32_t elapsed = ElapsedSeconds(CurrentTime(), LastDialTime);
  return static_cast<double>(elapsed) - DIAL_GUARD_SECONDS >= -0.0000001;
}

void DialCommand() {
  Desktop& desktop = TheDesktop();
  // Every trigger replaces the box, so a number typed by hand is never sent.
  desktop.SetEditText(desktop.ClipboardText());
  if (PhoneList.empty()) return;
  if (desktop.GetEditText().empty()) return;
  if (!DialGuardPassed()) return;
  // The wait starts whatever the send's outcome.
  LastDialTime = CurrentTime();
  const PhoneId destination = PhoneList.back();
  const Text number = desktop.GetEditText();
  if (PhoneServer* server = 服务器1()) server->SendData(destination, number, SEND_TIMEOUT_SECONDS);
}

void HotkeyFeedback(std::int32_t first, std::int32_t /*second*/) {
  // With the registration refused there is no hot key, whatever arrives.
  if (DialHotkeyId != 0 && first == DialHotkeyId) DialCommand();
}

}  // namespace quorvant
