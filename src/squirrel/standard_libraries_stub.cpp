// Placeholder until the standard libraries exist: registers nothing.
#include "squirrel/standard_libraries.h"

namespace vellum {

void registerSquirrelStandardLibraries(HSQUIRRELVM) {}

}  // namespace vellum
