// The commands that reach the script VMs: loadLua, funcLua, loadSqu, funcSqu and their kin.
#pragma once

namespace vellum {

void provideBindingCommands();

}  // namespace vellum
