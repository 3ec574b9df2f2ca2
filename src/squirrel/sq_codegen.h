// Code generation: syntax tree to register bytecode. Locals live in fixed registers from 1 up
// (0 is `this`), temporaries are allocated above them like a stack.
#pragma once

#include <string_view>

#include "squirrel/sq_parser.h"

struct SQVM;
struct SQFunctionProto;

namespace sqvm {

// Compiles a script into the prototype of its main function; throws CompileError. Constants
// declared with const and enum are written into the VM's const table as they are compiled.
SQFunctionProto* compileScript(SQVM* vm, std::string_view source, std::string_view sourceName);

}  // namespace sqvm
