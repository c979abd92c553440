// Keeps PhoneList in step with the phone connections, and shows the link
// state in the label 客户进入.
#pragma once

namespace quorvant {

class PhoneServer;

// Bound to 服务器1's ClientEntered and ClientLeft events.
void OnClientEntered(PhoneServer& server);
void OnClientLeft(PhoneServer& server);

}  // namespace quorvant
