// vellum-pack: the authoring tool that packs script containers and data archives for the engine,
// lists or extracts them again, starts new games and bundles finished ones for players.
#include <cstdio>
#include <exception>

#include "commands.h"
#include "pack_options.h"
#include "tool_error.h"

int main(int argc, char** argv) {
  using namespace vellum::pack;
  try {
    const PackOptions options = parseArguments(argc, argv);
    switch (options.command) {
      case Command::Help:
        std::fputs(usageText(), stdout);
        return 0;
      case Command::Script:
        packScripts(options);
        return 0;
      case Command::Archive:
        packArchive(options);
        return 0;
      case Command::List:
        listEntries(options);
        return 0;
      case Command::Extract:
        return extractEntries(options) ? 0 : 1;
      case Command::New:
        newGame(options);
        return 0;
      case Command::Dist:
        distributeGame(options);
        return 0;
      case Command::Web:
        publishForWeb(options);
        return 0;
    }
  } catch (const UsageError& e) {
    if (argc < 2) {
      std::fputs(usageText(), stderr);
    } else {
      std::fprintf(stderr, "vellum-pack: %s (see vellum-pack --help)\n", e.what());
    }
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vellum-pack: %s\n", e.what());
    return 1;
  }
  return 1;
}
