// The check families, one file each. Each reads the context and adds what it finds.
#pragma once

#include "lint_context.h"

namespace vellum::lint {

// label_checks.cpp: label syntax, duplicates, a label line swallowed by the message block before it.
void checkLabels(LintContext& context);
// jump_checks.cpp: goto, gosub, return, defsub, message subroutine and fileJump targets.
void checkJumps(LintContext& context);
// command_checks.cpp: unknown commands (and story text read as one), argument counts.
void checkCommands(LintContext& context);
// variable_checks.cpp: named variables no int, string or getParam declares.
void checkVariables(LintContext& context);
// file_checks.cpp: literal file names the game cannot find, or finds only in another case.
void checkFiles(LintContext& context);
// encoding_checks.cpp: characters the game's code page cannot hold.
void checkEncoding(LintContext& context);
// vm_checks.cpp: Lua and Squirrel files that do not compile.
void checkVmFiles(LintContext& context);
// flow_checks.cpp: lines no jump reaches after goto, end or return.
void checkFlow(LintContext& context);
// message_checks.cpp: a message subroutine set while no message ever waits.
void checkMessageWaits(LintContext& context);

// All of them, in the order above.
void runAllChecks(LintContext& context);

}  // namespace vellum::lint
