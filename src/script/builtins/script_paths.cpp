#include "script/builtins/script_paths.h"

#include <filesystem>
#include <system_error>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/path_parts.h"

namespace vellum {

bool isAbsoluteScriptPath(std::string_view path) {
  return path.find(':') != std::string_view::npos || (!path.empty() && (path[0] == '/' || path[0] == '\\'));
}

std::string scriptPathToFileSystem(std::string_view path) {
  std::string name = gamePathToFileSystem(path);
  return isAbsoluteScriptPath(path) ? name : engine().exeDirectory + name;
}

bool checkWritablePath(std::string_view path) {
  const auto parts = splitPath(path);
  const bool usable = parts && !parts->fileName().empty() && path.find('\0') == std::string_view::npos &&
                      !endsWithSeparator(path);
  if (!usable) errorc(ReportText().sjis(messages::kUnusablePath), true);
  return usable;
}

bool createFoldersFor(const std::string& fileSystemPath) {
  const std::filesystem::path folder = std::filesystem::path(fileSystemPath).parent_path();
  if (folder.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!ec && std::filesystem::is_directory(folder, ec)) return true;
  errorc(ReportText().sjis(messages::kCannotCreateFolder), true);
  return false;
}

}  // namespace vellum
