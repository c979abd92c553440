// The program's shared state. Only the UI thread touches it, one handler at a
// time, so nothing here is locked.
#pragma once

#include <cstdint>
#include <vector>

#include "app/types.h"

namespace quorvant {

// Connected phones, one entry per phone address; dials go to the last entry.
extern std::vector<PhoneId> PhoneList;
// First IPv4 address of this machine, shown for the user to type into the phone.
extern Text LocalAddress;
// Identifier of the Ctrl+F11 registration, or 0 when it was refused.
extern std::int32_t DialHotkeyId;
// Time of the last accepted dial.
extern Timestamp LastDialTime;

// Puts the four values back to how they stand before the window exists.
void ResetSharedState();

}  // namespace quorvant
