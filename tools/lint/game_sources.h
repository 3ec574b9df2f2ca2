// A game source folder read the way vellum-pack reads it: every file under SRC/script/ as a script
// (converted from UTF-8 with --from-utf8, line ends made LF), the Lua and Squirrel files, and the
// files the game may load.
#pragma once

#include <string>
#include <vector>

#include "data_files.h"
#include "lint_options.h"

namespace vellum::lint {

struct ScriptSource {
  std::string displayPath;  // the file as reports name it: SRC/script/0.txt
  std::string gamePath;     // its key in script.dat: script/0.txt (GBK)
  std::string written;      // as the author wrote it, line ends made LF (UTF-8 with --from-utf8)
  std::string text;         // as the engine reads it: GBK with LF line ends
};

enum class VmLanguage { Lua, Squirrel };

struct VmSource {
  std::string displayPath;
  VmLanguage language = VmLanguage::Lua;
  std::string bytes;
};

struct GameSources {
  bool fromUtf8 = false;
  std::vector<ScriptSource> scripts;
  std::vector<VmSource> vmFiles;  // every .lua and .nut file of the data folders
  DataFiles files;
};

// Throws ToolError when the folder has no script/ folder or a file cannot be read.
GameSources readGameSources(const LintOptions& options);

}  // namespace vellum::lint
