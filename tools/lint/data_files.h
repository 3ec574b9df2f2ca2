// The files a game can load: the data folders the author packs and packed games' archives and loose
// files. Names are game paths (GBK, '/' separators) as a script writes them.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vellum::lint {

class DataFiles {
 public:
  // Every file under the folder, by its path relative to it. Throws ToolError when it cannot be listed.
  void addFolder(const std::filesystem::path& root);
  // The entries of arc0.dat ... arc8.dat (only their keys are known) and the loose files of a game.
  void addGame(const std::filesystem::path& game);

  enum class Match { Found, OtherCase, Missing };
  // For OtherCase, `actual` is the name as it is on disk (GBK).
  Match find(std::string_view gamePath, std::string& actual) const;

 private:
  std::set<std::string> names_;
  std::unordered_map<std::string, std::string> byFoldedName_;  // ASCII lower case -> a real name
  std::unordered_set<uint64_t> archiveKeys_;
};

// '\' read as '/', as the engine reads game paths.
std::string normaliseGamePath(std::string_view path);

}  // namespace vellum::lint
