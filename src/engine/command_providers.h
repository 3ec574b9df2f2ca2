// Every family of commands hands its bodies to the registry from one provider function; the
// engine runs them all, in one order, the first time the registry is asked for a command.
#pragma once

namespace vellum {

// Runs every provider once.
void provideAllCommands();

}  // namespace vellum
