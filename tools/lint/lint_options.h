// The command line of vellum-lint.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vellum::lint {

struct LintOptions {
  bool help = false;
  std::string source;                    // SRC: the folder vellum-pack reads (SRC/script/, SRC/data/)
  bool fromUtf8 = false;                 // --from-utf8: the scripts are UTF-8, packed to GBK
  bool json = false;                     // --json: one JSON array instead of lines
  std::vector<std::string> dataFolders;  // --data DIR: more folders whose files the game may load
  std::vector<std::string> games;        // --game DIR: packed games (arc*.dat and loose files)
};

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws UsageError for anything the tool does not take or misses.
LintOptions parseLintArguments(int argc, char** argv);

const char* lintUsage();

}  // namespace vellum::lint
