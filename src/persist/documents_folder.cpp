#include "persist/documents_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace vellum {

namespace {

std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string documentsFromUserDirs(const std::string& fileText, const std::string& home) {
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  std::string found;
  std::istringstream lines(fileText);
  std::string line;
  while (std::getline(lines, line)) {
    std::string_view rest(line);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.substr(0, kKey.size()) != kKey) continue;
    rest.remove_prefix(kKey.size());
    // The value is one double-quoted path, "$HOME/..." or absolute; a later line wins as in the shell.
    if (rest.size() < 2 || rest.front() != '"') continue;
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) continue;
    std::string_view value = rest.substr(1, close - 1);
    std::string path;
    if (value.substr(0, 5) == "$HOME") {
      path = home + std::string(value.substr(5));
    } else if (!value.empty() && value.front() == '/') {
      path = std::string(value);
    } else {
      continue;
    }
    found = withoutTrailingSlashes(path);
  }
  return found;
}

std::string documentsFolder() {
  const std::string home = withoutTrailingSlashes(homeFolder());
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::string config = configHome && *configHome == '/' ? std::string(configHome) : home + "/.config";
  const std::string fromUserDirs = documentsFromUserDirs(readText(config + "/user-dirs.dirs"), home);
  if (!fromUserDirs.empty()) return fromUserDirs;
  std::error_code ec;
  if (std::filesystem::is_directory(home + "/Documents", ec)) return home + "/Documents";
  return home;
}

}  // namespace vellum
