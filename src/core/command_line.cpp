#include "core/command_line.h"

#include <filesystem>

namespace vellum {

const char* const kUsageText =
    "usage: vellum [--game DIR] [--headless] [ARG ...]\n"
    "  --game DIR   run the game in DIR (default: the executable's folder when it holds\n"
    "               script.dat, else the current folder)\n"
    "  --headless   no window and no sound device; boxes print to standard error\n"
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
    } else if (a == "--headless") {
      line.headless = true;
    } else if (a == "--help" || a == "-h") {
      line.help = true;
    } else {
      line.gameArguments.push_back(a);
    }
  }
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
