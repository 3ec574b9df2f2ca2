// Where the save data of this run lives. Chosen once by loadSetting; empty paths before that mean
// nothing is written.
#pragma once

#include <string>

namespace vellum {

struct PersistState {
  // The folder every save file is named in (file-system path with a trailing '/').
  std::string saveDirectory;
  // saveDirectory + "setting.dat"; empty until loadSetting ran.
  std::string settingsPath;
};

PersistState& persistState();
// Also forgets the user-data folder chosen by loadSetting.
void resetPersistState();

// The folder the save folder sits in: the user-data folder, or the game folder when that is empty.
std::string saveDataRoot();

}  // namespace vellum
