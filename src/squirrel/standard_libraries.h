// Seam for the Squirrel standard libraries (io, blob, math, system, string): registers them in the
// root table of the VM. The VM itself provides only the base library and the default delegates.
#pragma once

#include <vellum/squirrel.h>

namespace vellum {

void registerSquirrelStandardLibraries(HSQUIRRELVM vm);

}  // namespace vellum
