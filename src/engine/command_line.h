// The engine's command line: `vellum [--game DIR] [--headless] [--answers LIST] [--input FILE] [--shots DIR] [--audio-out FILE] [--speech-out FILE] [--watch SRC] [ARG ...]`. Engine options are taken
// out; everything else is passed on to the game.
#pragma once

#include <string>
#include <vector>

namespace vellum {

struct CommandLine {
  std::string gameFolder;  // --game DIR, empty when not given
  bool headless = false;
  // --answers yes,no,cancel: what headless question boxes answer, in order.
  std::vector<std::string> answers;
  // --input FILE: timed input replayed as if a person gave it.
  std::string inputFile;
  // --audio-out FILE: everything the sound mixer outputs is also written there as a WAV.
  std::string audioOutFile;
  // --speech-out FILE: what would be read aloud is written there instead, a UTF-8 line each.
  std::string speechOutFile;
  // --shots DIR: `shot NAME` lines of the --input file save DIR/NAME.png.
  std::string shotsFolder;
  // --watch SRC: the game's source folder; changed files under SRC/script/ are reloaded live.
  std::string watchFolder;
  bool help = false;
  std::vector<std::string> gameArguments;
  std::string error;  // set when the command line cannot be used
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The game folder: the given one, else the executable's folder when it holds script.dat, else the
// current folder. Returned absolute, with a trailing '/'.
std::string resolveGameFolder(const std::string& given, const std::string& executablePath);

extern const char* const kUsageText;

}  // namespace vellum
