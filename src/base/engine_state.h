// Process-wide engine state shared by every subsystem: the quit flag, the name of the running
// command, the game folder and the start tick. One instance; reset() gives tests a clean engine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct EngineState {
  // Nonzero stops the interpreter after the current native command.
  int quitFlag = 0;
  // Name of the command now executing (NUL-terminated, 128 bytes); error reports read it.
  char currentCommandName[128] = {};
  // The game folder with '/' separators and a trailing '/', as a file-system (UTF-8) path.
  // Relative game paths (GBK script bytes) are converted with gamePathToFileSystem and appended.
  std::string exeDirectory;
  // Folder prefix for save data and the log (file-system path); empty means the game folder.
  std::string userDataDirectory;
  // Millisecond tick taken when start-up finished.
  uint32_t startTime = 0;
  // Running with SDL's offscreen video and dummy audio: boxes print to stderr and never block.
  bool headless = false;
  // Command-line arguments meant for the game (engine options removed).
  std::vector<std::string> gameArguments;
};

EngineState& engine();
void resetEngineState();

// Copies a name into currentCommandName, cut to fit with its NUL.
void setCurrentCommandName(std::string_view name);

}  // namespace vellum
