#include "app/shared_state.h"

namespace quorvant {

std::vector<PhoneId> PhoneList;
Text LocalAddress;
std::int32_t DialHotkeyId = 0;
Timestamp LastDialTime = 0.0;

void ResetSharedState() {
  PhoneList.clear();
  LocalAddress.clear();
  DialHotkeyId = 0;
  LastDialTime = 0.0;
}

}  // namespace quorvant
