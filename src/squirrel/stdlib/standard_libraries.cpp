// The standard libraries in the root table. The error handlers are the host's choice
// (sqstd_seterrorhandlers installs the default ones).
#include "squirrel/standard_libraries.h"

#include <vellum/squirrel_std.h>

namespace vellum {

void registerSquirrelStandardLibraries(HSQUIRRELVM vm) {
  if (!vm) return;
  const SQInteger top = sq_gettop(vm);
  sq_pushroottable(vm);
  sqstd_register_iolib(vm);
  sqstd_register_bloblib(vm);
  sqstd_register_mathlib(vm);
  sqstd_register_systemlib(vm);
  sqstd_register_stringlib(vm);
  sq_settop(vm, top);
}

}  // namespace vellum
