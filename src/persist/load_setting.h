// loadSetting: choosing where the save data lives, then reading the settings and the read flags.
#pragma once

#include <string_view>

namespace vellum {

// s1 and s2 are the two folder names (script text) that follow the Documents folder when saves
// live there. Backslashes in them count as separators; wherever two pieces meet there is exactly
// one '/', so "", "" saves in the Documents folder itself and "\\Studio\\", "Game\\" in
// Documents/Studio/Game/.
void loadSetting(std::string_view s1, std::string_view s2);

}  // namespace vellum
