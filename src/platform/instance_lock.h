// One running copy per game: a lock file named after the window title in the user's runtime
// folder ($XDG_RUNTIME_DIR, else /tmp). The holder's process number is kept in the file so that a
// second copy can ask the first to come to the front (SIGUSR1) before it gives up.
#pragma once

#include <string>

namespace vellum {

// Takes the lock for the name (UTF-8). False when another process holds it; that process has
// then been asked to raise its window. A lock that cannot be made at all does not stop the game.
bool acquireInstanceLock(const std::string& name);
// Whether some process holds the lock for the name (without taking it).
bool instanceLockHeld(const std::string& name);
void releaseInstanceLock();

// The lock file's path for a name.
std::string instanceLockPath(const std::string& name);

// Set when another copy asked this one to come to the front; reading clears it.
bool takeRaiseRequest();

}  // namespace vellum
