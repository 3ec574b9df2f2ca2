// What every check reads: the sources, the parsed scripts, the labels and the names the scripts
// make into commands; and where it writes what it finds.
#pragma once

#include <map>
#include <set>
#include <string>

#include "findings.h"
#include "game_sources.h"
#include "parsed_script.h"

namespace vellum::lint {

struct LabelPlace {
  const ParsedScript* script = nullptr;
  const ParsedLine* line = nullptr;
};

struct LintContext {
  const GameSources& game;
  std::vector<ParsedScript> scripts;
  std::map<std::string, LabelPlace> labels;  // by name (GBK), the first of each
  std::set<std::string> userCommands;        // defsub, funcLua and funcSqu names
  Findings& findings;

  LintContext(const GameSources& sources, Findings& out);

  void report(const ParsedScript& script, const ParsedLine& line, size_t byteOffset, Severity severity,
              std::string message);
};

}  // namespace vellum::lint
