// The native script's control flow commands: jumps and subroutines, conditionals, counted loops,
// user commands, message subroutines and fast-forward.
#pragma once

namespace vellum {

void registerControlFlowBuiltins();  // for ... labelExist, in their registration order
void registerControlFlowCommands();  // preMessGosub, sufMessGosub, setJump, fileJump, stopMode

}  // namespace vellum
