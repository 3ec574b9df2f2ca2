// Process entry of the engine executable.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/command_line.h"
#include "base/engine_state.h"
#include "engine/live_reload/live_reload.h"
#include "engine/replay_shots.h"
#include "engine/startup.h"
#include "platform/audio_device.h"
#include "platform/display_probe.h"
#include "platform/question_box.h"
#include "platform/quit_signals.h"
#include "shell/input/input_replay.h"
#include "shell/services/speech_service.h"
#include "shell/shell_lifecycle.h"

int main(int argc, char** argv) {
  using namespace vellum;
  const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (line.help) {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  if (!line.error.empty()) {
    std::fprintf(stderr, "vellum: %s\n%s", line.error.c_str(), kUsageText);
    return 2;
  }

  // The replay file is named relative to where vellum was started.
  std::error_code ec;
  const std::string inputFile =
      line.inputFile.empty() ? std::string() : std::filesystem::absolute(line.inputFile, ec).string();
  const std::string audioOutFile =
      line.audioOutFile.empty() ? std::string() : std::filesystem::absolute(line.audioOutFile, ec).string();
  const std::string speechOutFile =
      line.speechOutFile.empty() ? std::string() : std::filesystem::absolute(line.speechOutFile, ec).string();
  const std::string shotsFolder =
      line.shotsFolder.empty() ? std::string() : std::filesystem::absolute(line.shotsFolder, ec).string();
  const std::string watchFolder =
      line.watchFolder.empty() ? std::string() : std::filesystem::absolute(line.watchFolder, ec).string();
  const std::string executable = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  EngineState& state = engine();
  state.exeDirectory = resolveGameFolder(line.gameFolder, executable);
  state.headless = line.headless;
  state.gameArguments = line.gameArguments;
  setHeadlessAnswers(line.answers);
  if (!std::filesystem::is_directory(state.exeDirectory, ec)) {
    std::fprintf(stderr, "vellum: no game folder at %s\n", state.exeDirectory.c_str());
    return 2;
  }
  // Without a display a windowed game would wait for a player who can neither see nor click it.
  if (!state.headless) {
    const DisplayCheck display = findDisplay();
    if (!display.found) {
      std::fprintf(stderr, "vellum: no display found (%s); --headless runs the game without one\n",
                   display.reason.c_str());
      return 2;
    }
  }
  if (!watchFolder.empty()) {
    if (!std::filesystem::is_directory(std::filesystem::path(watchFolder) / "script", ec)) {
      std::fprintf(stderr, "vellum: --watch %s: no script folder in it\n", line.watchFolder.c_str());
      return 2;
    }
    setWatchedSourceFolder(watchFolder);
  }
  // Relative game paths resolve against the game folder, as scripts expect.
  if (chdir(state.exeDirectory.c_str()) != 0) {
    std::perror("vellum: cannot enter the game folder");
    return 2;
  }
  if (state.headless) {
    // SDL's offscreen video and dummy audio, for machines without a display or sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  // SIGINT and SIGTERM end the game the orderly way: the settings are still written.
  installQuitSignals();
  if (!inputFile.empty()) {
    std::string error;
    if (!loadInputReplay(inputFile, error)) {
      std::fprintf(stderr, "vellum: %s\n", error.c_str());
      return 2;
    }
  }
  if (!shotsFolder.empty()) {
    std::string error;
    if (!startReplayShots(shotsFolder, error)) {
      std::fprintf(stderr, "vellum: %s\n", error.c_str());
      return 2;
    }
  }
  if (!audioOutFile.empty()) {
    std::string error;
    if (!setAudioRecordingPath(audioOutFile, error)) {
      std::fprintf(stderr, "vellum: %s\n", error.c_str());
      return 2;
    }
  }
  if (!speechOutFile.empty()) {
    std::string error;
    if (!startSpeechOutput(speechOutFile, error)) {
      std::fprintf(stderr, "vellum: %s\n", error.c_str());
      return 2;
    }
  }
  const int result = runMain();
  closeShell();
  if (!shotsFolder.empty()) reportShotsNotTaken();
  // A quit asked for during start-up stops it early; that is an orderly end all the same.
  return result == 1 || quitRequested() ? 0 : 1;
}
