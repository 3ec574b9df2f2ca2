// The small text files of a shipped game: the launcher script and the desktop entry.
#pragma once

#include <string>

namespace vellum::pack {

// A POSIX shell script that starts the engine in bin/ with the libraries in lib/ and the game in
// game/, all found beside the script itself; `--install-desktop` adds the game to the player's
// application menu.
std::string launcherScript(const std::string& name);

// A desktop entry for the launcher: started from the bundle's folder (%k is the entry's own path).
std::string desktopEntry(const std::string& name);

}  // namespace vellum::pack
