// new: writes a starter game's source folder from the templates built into the tool, with
// placeholder pictures and sounds made on the spot.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "commands.h"
#include "placeholder_pictures.h"
#include "placeholder_sounds.h"
#include "source_tree.h"
#include "starter_files.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTitleMark = "{{TITLE}}";

// The title goes into a quoted script string and a README heading: one line, no quote marks.
void checkTitle(const std::string& title) {
  if (title.empty()) throw UsageError("--title needs a name");
  for (const char c : title)
    if (c == '"' || c == '\n' || c == '\r' || c == '\\')
      throw UsageError("--title cannot hold quote marks, backslashes or line breaks");
}

std::vector<uint8_t> withTitle(const StarterFile& file, const std::string& title) {
  std::string text(reinterpret_cast<const char*>(file.bytes), file.size);
  for (size_t at = text.find(kTitleMark); at != std::string::npos; at = text.find(kTitleMark, at + title.size()))
    text.replace(at, kTitleMark.size(), title);
  return {text.begin(), text.end()};
}

// A new game goes into a new or empty folder: nothing an author wrote is overwritten.
void checkFolderIsFree(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) return;
  if (!fs::is_directory(folder, ec)) throw ToolError(folder.string() + ": exists and is not a folder");
  if (!fs::is_empty(folder, ec)) throw ToolError(folder.string() + ": the folder is not empty; give a new one");
}

}  // namespace

void newGame(const PackOptions& options) {
  const std::string title = options.title.empty() ? "我的游戏" : options.title;
  checkTitle(title);
  const fs::path folder = options.input;
  checkFolderIsFree(folder);

  for (size_t i = 0; i < kStarterFileCount; ++i)
    writeBytes(folder / kStarterFiles[i].path, withTitle(kStarterFiles[i], title));
  for (const PlaceholderPicture& picture : starterPictures()) writeBytes(folder / "data" / picture.name, picture.png);
  for (const PlaceholderSound& sound : starterSounds()) writeBytes(folder / "data" / sound.name, sound.wav);
  writeBytes(folder / "icon.png", defaultIconPng());

  std::printf("%s: a new game, \"%s\"; read %s first\n", folder.string().c_str(), title.c_str(),
              (folder / "README.md").string().c_str());
}

}  // namespace vellum::pack
