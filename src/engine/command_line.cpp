#include "engine/command_line.h"

#include <algorithm>
#include <filesystem>

namespace vellum {

namespace {

// "yes,no,,cancel" -> yes, no, cancel: empty words are dropped.
std::vector<std::string> splitAnswers(const std::string& list) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    if (comma > start) words.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return words;
}

}  // namespace

const char* const kUsageText =
    "usage: vellum [--game DIR] [--headless] [--answers LIST] [--input FILE]\n"
    "              [--shots DIR] [--audio-out FILE] [--speech-out FILE] [--watch SRC]\n"
    "              [ARG ...]\n"
    "  --game DIR   run the game in DIR (default: the executable's folder when it holds\n"
    "               script.dat, else the current folder)\n"
    "  --headless   no window and no sound device; boxes print to standard error\n"
    "               (without it vellum needs a display: DISPLAY or WAYLAND_DISPLAY)\n"
    "  --answers LIST  answers for headless question boxes, in order (yes,no,cancel);\n"
    "               once they run out every box takes its first button\n"
    "  --input FILE replay the timed input events in FILE (see docs/)\n"
    "  --shots DIR  with --input: each `MS shot NAME` line saves what the player\n"
    "               sees to DIR/NAME.png (DIR is created when missing)\n"
    "  --audio-out FILE  also write everything the sound mixer outputs to FILE as a\n"
    "               16-bit PCM WAV (the mixer's rate and channels)\n"
    "  --speech-out FILE  read the story aloud into FILE instead of the speech\n"
    "               service: one UTF-8 line per utterance\n"
    "  --watch SRC  reload script files under SRC/script/ when they change (or on F5)\n"
    "               and go on from the same place (see docs/live-reload.md)\n"
    "  --help       show this text\n"
    "Other arguments are passed to the game's scripts.\n";

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--game") {
      if (i + 1 >= arguments.size()) {
        line.error = "--game needs a folder";
        return line;
      }
      line.gameFolder = arguments[++i];
    } else if (a.rfind("--game=", 0) == 0) {
      line.gameFolder = a.substr(7);
    } else if (a == "--answers" || a.rfind("--answers=", 0) == 0) {
      std::string list;
      if (a == "--answers") {
        if (i + 1 >= arguments.size()) {
          line.error = "--answers needs a list";
          return line;
        }
        list = arguments[++i];
      } else {
        list = a.substr(10);
      }
      line.answers = splitAnswers(list);
    } else if (a == "--input") {
      if (i + 1 >= arguments.size()) {
        line.error = "--input needs a file";
        return line;
      }
      line.inputFile = arguments[++i];
    } else if (a.rfind("--input=", 0) == 0) {
      line.inputFile = a.substr(8);
    } else if (a == "--audio-out") {
      if (i + 1 >= arguments.size()) {
        line.error = "--audio-out needs a file";
        return line;
      }
      line.audioOutFile = arguments[++i];
    } else if (a.rfind("--audio-out=", 0) == 0) {
      line.audioOutFile = a.substr(12);
    } else if (a == "--speech-out") {
      if (i + 1 >= arguments.size()) {
        line.error = "--speech-out needs a file";
        return line;
      }
      line.speechOutFile = arguments[++i];
    } else if (a.rfind("--speech-out=", 0) == 0) {
      line.speechOutFile = a.substr(13);
    } else if (a == "--shots") {
      if (i + 1 >= arguments.size()) {
        line.error = "--shots needs a folder";
        return line;
      }
      line.shotsFolder = arguments[++i];
    } else if (a.rfind("--shots=", 0) == 0) {
      line.shotsFolder = a.substr(8);
    } else if (a == "--watch") {
      if (i + 1 >= arguments.size()) {
        line.error = "--watch needs the game's source folder";
        return line;
      }
      line.watchFolder = arguments[++i];
    } else if (a.rfind("--watch=", 0) == 0) {
      line.watchFolder = a.substr(8);
    } else if (a == "--headless") {
      line.headless = true;
    } else if (a == "--help" || a == "-h") {
      line.help = true;
    } else {
      line.gameArguments.push_back(a);
    }
  }
  if (!line.shotsFolder.empty() && line.inputFile.empty()) line.error = "--shots needs --input (the shot lines are in it)";
  return line;
}

std::string resolveGameFolder(const std::string& given, const std::string& executablePath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder;
  if (!given.empty()) {
    folder = given;
  } else {
    const fs::path exeFolder = fs::path(executablePath).parent_path();
    folder = !exeFolder.empty() && fs::exists(exeFolder / "script.dat", ec) ? exeFolder : fs::current_path(ec);
  }
  fs::path absolute = fs::absolute(folder, ec).lexically_normal();
  std::string text = absolute.generic_string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

}  // namespace vellum
