// The script commands of the configuration: loadSetting, saveSetting, getGameName, the paired
// set/get commands of the settings, and saveAlready.
#pragma once

namespace vellum {

// Registers them in the order of the command catalogue; engine commands come after the built-ins.
void provideSettingsCommands();

}  // namespace vellum
