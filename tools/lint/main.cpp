// vellum-lint: checks a game's sources before a player runs into their faults. It reads the source
// folder as vellum-pack does, parses the scripts with the engine's own tokenizer and label pass,
// and reports each problem in the FILE:LINE:COLUMN form editors and CI read (or as JSON).
#include <cstdio>
#include <exception>

#include "checks.h"
#include "game_sources.h"
#include "lint_options.h"

int main(int argc, char** argv) {
  using namespace vellum::lint;
  LintOptions options;
  try {
    options = parseLintArguments(argc, argv);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "vellum-lint: %s\n%s", e.what(), lintUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(lintUsage(), stdout);
    return 0;
  }
  try {
    const GameSources game = readGameSources(options);
    Findings findings;
    LintContext context(game, findings);
    runAllChecks(context);
    const std::vector<Finding> sorted = findings.sorted();
    const std::string out = options.json ? formatJson(sorted) : formatLines(sorted);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return findings.hasError() ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vellum-lint: %s\n", e.what());
    return 2;
  }
}
