#include "platform/network_state.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace vellum {

bool networkIsUp() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool up = false;
  for (const ifaddrs* a = list; a && !up; a = a->ifa_next) {
    if (!a->ifa_addr) continue;
    const int family = a->ifa_addr->sa_family;
    const unsigned flags = a->ifa_flags;
    up = (family == AF_INET || family == AF_INET6) && (flags & IFF_UP) && (flags & IFF_RUNNING) &&
         !(flags & IFF_LOOPBACK);
  }
  freeifaddrs(list);
  return up;
}

}  // namespace vellum
