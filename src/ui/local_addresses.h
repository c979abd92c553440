// The IPv4 addresses shown to the user as where the phone must connect.
#pragma once

#include <cstddef>
#include <vector>

#include "app/types.h"

namespace quorvant {

inline constexpr std::size_t MAX_LOCAL_ADDRESSES = 10;

// The host name's IPv4 addresses in resolver order. Where these are only
// loopback addresses (Debian maps the host name to 127.0.1.1) or none, the
// addresses of the interfaces that are up and not loopback, in system order.
// At most MAX_LOCAL_ADDRESSES, dotted decimal.
std::vector<Text> ListLocalAddresses();

// The choice above, on lists already looked up.
std::vector<Text> ChooseLocalAddresses(const std::vector<Text>& resolved,
                                       const std::vector<Text>& interfaces);

}  // namespace quorvant
