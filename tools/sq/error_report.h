// The runner's handlers for compile and runtime errors: a message with the call stack and the
// locals of each level on the standard error, like the reference interpreter.
#pragma once

#include <vellum/squirrel.h>

namespace vellum::sqtool {

void installErrorHandlers(HSQUIRRELVM vm);

}  // namespace vellum::sqtool
