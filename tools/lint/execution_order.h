// The order in which a run first reaches the lines of a game, as far as the scripts show it: from
// the first line of script/0.txt, on through each line, into goto and gosub targets and defsub
// commands written out. Lines no written-out jump reaches (message subroutines, labels reached
// through computed targets) follow, in file order.
#pragma once

#include <cstddef>
#include <vector>

#include "lint_context.h"

namespace vellum::lint {

struct LinePlace {
  const ParsedScript* script = nullptr;
  const ParsedLine* line = nullptr;
};

std::vector<LinePlace> executionOrder(const LintContext& context);

}  // namespace vellum::lint
