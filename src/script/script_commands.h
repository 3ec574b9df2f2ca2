// The script language's own command families: variables and control flow.
#pragma once

namespace vellum {

void provideVariableCommands();
void provideControlFlowCommands();

}  // namespace vellum
