// Plug-in access to the Squirrel VM: the VM itself and the helpers that register native functions,
// classes and integer constants.
#include <vellum/exports.h>

#include "script/arg_accessor.h"
#include "commands/squirrel/squirrel_binding.h"

extern "C" void getVMSquirrel(HSQUIRRELVM* vm) {
  if (vm) *vm = vellum::squirrelVM();
}

extern "C" void sq_register_func(HSQUIRRELVM vm, const char* name, SQFUNCTION function) {
  if (!vm || !name || !function) return;
  sq_pushroottable(vm);
  sq_pushstring(vm, name, -1);
  sq_newclosure(vm, function, 0);
  sq_setnativeclosurename(vm, -1, name);
  sq_newslot(vm, -3, SQFalse);
  sq_poptop(vm);
}

extern "C" void sq_register_class(HSQUIRRELVM vm, const char* className, const SquirrelClassMember* members) {
  if (!vm || !className) return;
  const SQInteger top = sq_gettop(vm);
  sq_pushroottable(vm);
  sq_pushstring(vm, className, -1);
  if (SQ_FAILED(sq_newclass(vm, SQFalse))) {
    sq_settop(vm, top);
    return;
  }
  for (const SquirrelClassMember* member = members; member && member->name; ++member) {
    if (!member->function) continue;
    sq_pushstring(vm, member->name, -1);
    sq_newclosure(vm, member->function, 0);
    sq_setparamscheck(vm, member->parameterCount, member->typeMask);
    sq_setnativeclosurename(vm, -1, member->name);
    sq_newslot(vm, -3, SQFalse);
  }
  sq_newslot(vm, -3, SQFalse);
  sq_settop(vm, top);
}

extern "C" void sq_const_int(HSQUIRRELVM vm, const char* name, SQInteger value) {
  if (!vm || !name) return;
  const SQInteger top = sq_gettop(vm);
  const vellum::ArgAccessor& active = vellum::args();
  if (active.binding == vellum::Binding::Squirrel && active.vm == vm) {
    sq_push(vm, 1);
  } else {
    sq_pushconsttable(vm);
  }
  sq_pushstring(vm, name, -1);
  sq_pushinteger(vm, value);
  sq_newslot(vm, -3, SQFalse);
  sq_settop(vm, top);
}
