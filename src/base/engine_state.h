// Process-wide engine state shared by every subsystem: the quit flag, the name of the running
// command, the game folder and the start tick. One instance; reset() gives tests a clean engine.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

// Nonzero stops the interpreter after the running command and makes every waiting command return.
// A lock-free atomic, so that the quit-signal handler may set it directly; it copies as its value,
// so that EngineState stays a plain value for reset().
class QuitFlag {
 public:
  QuitFlag() = default;
  QuitFlag(const QuitFlag& other) : value_(other.value_.load()) {}
  QuitFlag& operator=(const QuitFlag& other) {
    value_.store(other.value_.load());
    return *this;
  }
  QuitFlag& operator=(int value) {
    value_.store(value);
    return *this;
  }
  QuitFlag& operator++() {
    ++value_;
    return *this;
  }
  operator int() const { return value_.load(); }

 private:
  std::atomic<int> value_{0};
  static_assert(std::atomic<int>::is_always_lock_free, "the quit flag is set from a signal handler");
};

struct EngineState {
  QuitFlag quitFlag;
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
