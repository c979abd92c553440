#include "ui/local_addresses.h"

#include <algorithm>

#include "link/socket_api.h"

#ifdef _WIN32
#include <iphlpapi.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#endif

namespace quorvant {

namespace {

bool IsLoopback(const Text& address) { return address.rfind("127.", 0) == 0; }

std::vector<Text> Limited(std::vector<Text> addresses) {
  if (addresses.size() > MAX_LOCAL_ADDRESSES) addresses.resize(MAX_LOCAL_ADDRESSES);
  return addresses;
}

std::vector<Text> ResolveHostName() {
  std::vector<Text> result;
  char name[256] = {};
  if (::gethostname(name, sizeof name) != 0) return result;
  name[sizeof name - 1] = '\0';
  const hostent* host = ::gethostbyname(name);
  if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list == nullptr) return result;
  for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
    in_addr address;
    std::copy_n(*entry, sizeof address, reinterpret_cast<char*>(&address));
    result.emplace_back(::inet_ntoa(address));
    if (result.size() == MAX_LOCAL_ADDRESSES) break;
  }
  return result;
}

#ifdef _WIN32
std::vector<Text> InterfaceAddresses() {
  std::vector<Text> result;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  ULONG status = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 3 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    status = ::GetAdaptersAddresses(
        AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
        nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (status != NO_ERROR) return result;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
       adapter = adapter->Next) {
    if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
      continue;
    }
    for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
         unicast = unicast->Next) {
      const sockaddr* address = unicast->Address.lpSockaddr;
      if (address == nullptr || address->sa_family != AF_INET) continue;
      result.emplace_back(::inet_ntoa(reinterpret_cast<const sockaddr_in*>(address)->sin_addr));
    }
  }
  return result;
}
#else
std::vector<Text> InterfaceAddresses() {
  std::vector<Text> result;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return result;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
    result.emplace_back(
        ::inet_ntoa(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr));
  }
  ::freeifaddrs(list);
  return result;
}
#endif

}  // namespace

std::vector<Text> ChooseLocalAddresses(const std::vector<Text>& resolved,
                                       const std::vector<Text>& interfaces) {
  const bool resolvedReachable =
      std::any_of(resolved.begin(), resolved.end(), [](const Text& a) { return !IsLoopback(a); });
  if (resolvedReachable) return Limited(resolved);
  return Limited(interfaces);
}

std::vector<Text> ListLocalAddresses() {
  const sockets::Library library;
  const std::vector<Text> resolved = ResolveHostName();
  return ChooseLocalAddresses(resolved, InterfaceAddresses());
}

}  // namespace quorvant
