#include "link/phone_list.h"

#include <algorithm>
#include <string>

#include "app/shared_state.h"
#include "app/texts.h"
#include "link/phone_server.h"
#include "link/text_ops.h"
#include "platform/desktop.h"

namespace quorvant {

namespace {

// The dotted IPv4 address of a PhoneId: what stands before its first ":".
Text PhoneAddress(const PhoneId& id) { return TextBetween("-" + id, "-", ":", 0, false); }

void ShowLinkState(const char* prefix, Colour colour) {
  Desktop& desktop = TheDesktop();
  desktop.SetCaption(Label::客户进入, prefix + std::to_string(PhoneList.size()) + COUNT_SUFFIX);
  desktop.SetTextColour(Label::客户进入, colour);
}

}  // namespace

void OnClientEntered(PhoneServer& server) {
  const PhoneId id = server.CurrentClient();
  const Text address = PhoneAddress(id);
  // A phone is known by its address: a reconnection takes over its entries
  // where they stand. Whole addresses are compared, so 192.168.1.5 leaves the
  // entry of 192.168.1.55 alone.
  bool replaced = false;
  for (PhoneId& entry : PhoneList) {
    if (PhoneAddress(entry) == address) {
      entry = id;
      replaced = true;
    }
  }
  if (!replaced) PhoneList.push_back(id);
  ShowLinkState(CONNECTED_PREFIX, COLOUR_BLACK);
}

void OnClientLeft(PhoneServer& server) {
  const PhoneId id = server.CurrentClient();
  PhoneList.erase(std::remove(PhoneList.begin(), PhoneList.end(), id), PhoneList.end());
  ShowLinkState(DISCONNECTED_PREFIX, COLOUR_GREY);
}

}  // namespace quorvant
