#include "checks.h"

namespace vellum::lint {

void runAllChecks(LintContext& context) {
  checkLabels(context);
  checkJumps(context);
  checkCommands(context);
  checkVariables(context);
  checkFiles(context);
  checkEncoding(context);
  checkVmFiles(context);
  checkFlow(context);
  checkMessageWaits(context);
}

}  // namespace vellum::lint
