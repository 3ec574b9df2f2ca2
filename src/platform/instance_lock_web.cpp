// In the browser every tab is its own copy of the game; there is no lock to take.
#include "platform/instance_lock.h"

namespace vellum {

bool acquireInstanceLock(const std::string&) { return true; }
bool instanceLockHeld(const std::string&) { return false; }
void releaseInstanceLock() {}
std::string instanceLockPath(const std::string& name) { return "/tmp/" + name + ".lock"; }
bool takeRaiseRequest() { return false; }

}  // namespace vellum
