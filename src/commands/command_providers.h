// Every family of commands hands its bodies to the registry from one provider function, all of
// them listed in command_providers.cpp.
#pragma once

namespace vellum {

// Runs every provider once.
void provideAllCommands();

void provideDiagnosticsCommands();
void provideVariableCommands();
void provideControlFlowCommands();
void provideBindingCommands();
void provideSettingsCommands();
void provideBuiltinFunctions();
void provideGeometryCommands();
void provideWindowCommands();
void provideInputCommands();

}  // namespace vellum
