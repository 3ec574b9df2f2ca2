// After a goto, end or return that always runs, the next line runs only when a jump lands on a
// label; lines before the next label are never reached.
#include "checks.h"

namespace vellum::lint {

namespace {

bool endsTheWay(const CommandUse& use) {
  return !use.conditional && (use.name == "goto" || use.name == "end" || use.name == "return");
}

const CommandUse* leavingCommand(const ParsedLine& line) {
  for (const CommandUse& use : line.commands) {
    if (endsTheWay(use)) return &use;
  }
  return nullptr;
}

}  // namespace

void checkFlow(LintContext& context) {
  for (const ParsedScript& script : context.scripts) {
    const ParsedLine* leftAt = nullptr;
    std::string leftBy;
    for (const ParsedLine& line : script.lines) {
      if (line.text.empty()) continue;
      if (line.role == LineRole::Label || line.role == LineRole::InvalidLabel) {
        leftAt = nullptr;
        continue;
      }
      if (leftAt) {
        context.report(script, line, 0, Severity::Warning,
                       "this line is never reached: line " + std::to_string(leftAt->number) + " always leaves with " +
                           leftBy + " and no label comes between");
        leftAt = nullptr;
      }
      if (const CommandUse* leaving = leavingCommand(line)) {
        leftAt = &line;
        leftBy = leaving->name;
      }
    }
  }
}

}  // namespace vellum::lint
