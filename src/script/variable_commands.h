// Commands that declare, assign, test and erase script variables, and the shared bodies through
// which Lua and Squirrel reach the same variables.
#pragma once

#include "script/arg_accessor.h"

namespace vellum {

// Bodies registered into the script VMs when they are created.
int setScriptIntegerBody(void* call);
int getScriptIntegerBody(void* call);
int setScriptStringBody(void* call);
int getScriptStringBody(void* call);
int newScriptIntegerBody(void* call);
int newScriptStringBody(void* call);
int variableExistBody(void* call);
int variableEraseBody(void* call);

}  // namespace vellum
