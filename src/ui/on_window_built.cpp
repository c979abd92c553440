#include "ui/on_window_built.h"

#include <vector>

#include "app/shared_state.h"
#include "app/texts.h"
#include "dial/dial_command.h"
#include "platform/desktop.h"
#include "ui/local_addresses.h"

namespace quorvant {

void OnWindowBuilt() {
  const std::vector<Text> addresses = ListLocalAddresses();
  // Without any address the label shows the prefix alone.
  LocalAddress = addresses.empty() ? Text() : addresses.front();
  TheDesktop().SetCaption(Label::标签1, ADDRESS_PREFIX + LocalAddress);
  PrepareDialling();
}

}  // namespace quorvant
