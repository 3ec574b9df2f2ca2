#include "lint_context.h"

#include "script/tokenizer.h"

namespace vellum::lint {

namespace {

// The engine knows these names as commands from the moment a line naming them is parsed; the
// checker collects them over every file first, so a use before the defining line is not reported
// twice (the jump checks report a defsub without its label).
void collectUserCommands(const std::vector<ParsedScript>& scripts, std::set<std::string>& names) {
  for (const ParsedScript& script : scripts) {
    for (const ParsedLine& line : script.lines) {
      for (const CommandUse& use : line.commands) {
        if (use.name == "defsub") {
          names.emplace(trimBlanks(use.arguments));
        } else if (use.name == "funcLua" || use.name == "funcSqu") {
          const auto pieces = splitSegments(use.arguments, ',', false);
          if (!pieces.empty() && !pieces.front().empty()) names.emplace(pieces.front());
        }
      }
    }
  }
}

void collectLabelPlaces(const std::vector<ParsedScript>& scripts, std::map<std::string, LabelPlace>& labels) {
  for (const ParsedScript& script : scripts) {
    for (const ParsedLine& line : script.lines) {
      if (line.role == LineRole::Label) labels.try_emplace(line.labelName, LabelPlace{&script, &line});
    }
  }
}

}  // namespace

LintContext::LintContext(const GameSources& sources, Findings& out)
    : game(sources), scripts(parseScripts(sources.scripts)), findings(out) {
  collectUserCommands(scripts, userCommands);
  collectLabelPlaces(scripts, labels);
}

void LintContext::report(const ParsedScript& script, const ParsedLine& line, size_t byteOffset, Severity severity,
                         std::string message) {
  findings.add(script.source->displayPath, line.number, columnOf(line.text, byteOffset), severity,
               std::move(message));
}

}  // namespace vellum::lint
