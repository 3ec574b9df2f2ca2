#include "game_sources.h"

#include <filesystem>

#include "services/script_source_text.h"
#include "source_tree.h"
#include "tool_error.h"

namespace vellum::lint {

namespace fs = std::filesystem;

namespace {

std::string asText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

ScriptSource readScript(const pack::SourceFile& f, bool fromUtf8) {
  ScriptSource s;
  s.displayPath = f.file.generic_string();
  s.gamePath = f.gamePath;
  std::vector<uint8_t> bytes = pack::readBytes(f.file);
  if (fromUtf8) {
    std::vector<uint8_t> gbk;
    utf8ToGbk(bytes, gbk);
    s.text = asText(normaliseLineEnds(gbk));
    std::string_view written(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (written.starts_with("\xEF\xBB\xBF")) written.remove_prefix(3);
    s.written = asText(normaliseLineEnds(std::vector<uint8_t>(written.begin(), written.end())));
  } else {
    s.text = asText(normaliseLineEnds(bytes));
    s.written = s.text;
  }
  return s;
}

void addVmFiles(const fs::path& root, std::vector<VmSource>& out) {
  for (const pack::SourceFile& f : pack::listSourceFiles(root, "")) {
    const std::string extension = f.file.extension().string();
    if (extension != ".lua" && extension != ".nut") continue;
    out.push_back({f.file.generic_string(), extension == ".lua" ? VmLanguage::Lua : VmLanguage::Squirrel,
                   asText(pack::readBytes(f.file))});
  }
}

}  // namespace

GameSources readGameSources(const LintOptions& options) {
  GameSources game;
  game.fromUtf8 = options.fromUtf8;
  const fs::path root(options.source);
  for (const pack::SourceFile& f : pack::listSourceFiles(root / "script", "script/"))
    game.scripts.push_back(readScript(f, options.fromUtf8));
  if (game.scripts.empty()) throw pack::ToolError((root / "script").string() + ": no script files");

  std::vector<fs::path> folders;
  std::error_code ec;
  if (fs::is_directory(root / "data", ec)) folders.push_back(root / "data");
  for (const std::string& folder : options.dataFolders) folders.emplace_back(folder);
  for (const fs::path& folder : folders) {
    game.files.addFolder(folder);
    addVmFiles(folder, game.vmFiles);
  }
  for (const std::string& packed : options.games) {
    if (!fs::is_directory(packed, ec)) throw pack::ToolError(packed + ": not a folder");
    game.files.addGame(packed);
  }
  return game;
}

}  // namespace vellum::lint
