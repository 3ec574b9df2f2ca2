// Whether the machine has a usable network connection.
#pragma once

namespace vellum {

// True when some interface other than loopback is up, running and has an IPv4 or IPv6 address.
bool networkIsUp();

}  // namespace vellum
