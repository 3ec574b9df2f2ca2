// The embedded Squirrel 3 VM: created on first use with an initial stack of 1024, print and error
// functions that append to SquirrelMessages, the standard libraries and error handlers, the
// built-ins and every engine command in the root table. An error while a script file compiles or
// runs closes the VM; the next loadSqu or script-function call creates a fresh one.
#pragma once

#include <vellum/squirrel.h>

#include <string>

#include "base/report.h"

namespace vellum {

// The VM, or nullptr before the first use (or after an error closed it).
HSQUIRRELVM squirrelVM();
// The VM, created when there is none.
HSQUIRRELVM ensureSquirrelVM();
// Closes the VM now or, when a Squirrel call is running, as soon as the outermost one returns.
void closeSquirrelVM();
void resetSquirrel();

// What the VM's print and error functions wrote since the last report.
std::string& squirrelMessages();

// Switches the argument accessor to the Squirrel set for this VM.
void useSquirrel(HSQUIRRELVM vm);

// The text errorc reports for a message raised while Squirrel code runs: the command, the message,
// then one "\n\tsource:line: function" line per stack level from 1.
ReportText squirrelContext(const ReportText& message);

// Runs a Squirrel source file of the game (the loadSqu body).
int loadSquBody(void* call);
// funcSqu: makes a command that calls a function of the root table.
void funcSquCommand(const char* arguments, int length);

}  // namespace vellum
