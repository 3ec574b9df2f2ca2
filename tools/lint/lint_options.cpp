#include "lint_options.h"

#include <string_view>

namespace vellum::lint {

const char* lintUsage() {
  return "usage: vellum-lint SRC [--from-utf8] [--json] [--data DIR]... [--game DIR]...\n"
         "  checks the game sources under SRC (SRC/script/ as vellum-pack script reads it) before a\n"
         "  player runs into their faults; one line per problem, FILE:LINE:COLUMN: error|warning|note:\n"
         "  message; exit status 1 when there is an error, 0 otherwise, 2 for a bad command line\n"
         "  --from-utf8  the scripts are UTF-8 (as packed with vellum-pack --from-utf8)\n"
         "  --json       one JSON array of {file, line, column, severity, message} instead\n"
         "  --data DIR   another folder of game files (SRC/data/ is always looked in)\n"
         "  --game DIR   a packed game folder: the files in its arc*.dat and the loose ones\n";
}

LintOptions parseLintArguments(int argc, char** argv) {
  LintOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--from-utf8") {
      options.fromUtf8 = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--data" || arg == "--game") {
      if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a folder");
      (arg == "--data" ? options.dataFolders : options.games).emplace_back(argv[++i]);
    } else if (arg.size() > 1 && arg.front() == '-') {
      throw UsageError("unknown option " + std::string(arg));
    } else if (!options.source.empty()) {
      throw UsageError("more than one source folder given: '" + std::string(arg) + "'");
    } else {
      options.source = arg;
    }
  }
  if (options.source.empty()) throw UsageError("no source folder given");
  return options;
}

}  // namespace vellum::lint
