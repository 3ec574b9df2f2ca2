// A plug-in that extends the engine's Squirrel VM the way a game's would: when it is loaded it
// registers a class, a function and a constant through the exports, and its members use the
// Squirrel C API the executable exports.
#include <vellum/exports.h>
#include <vellum/squirrel_std.h>

namespace {

SQInteger releaseCounter(SQUserPointer data, SQInteger) {
  delete static_cast<SQInteger*>(data);
  return 1;
}

SQInteger* counterOf(HSQUIRRELVM v) {
  SQUserPointer data = nullptr;
  if (SQ_FAILED(sq_getinstanceup(v, 1, &data, nullptr, SQFalse))) return nullptr;
  return static_cast<SQInteger*>(data);
}

// Counter([start])
SQInteger construct(HSQUIRRELVM v) {
  SQInteger start = 0;
  if (sq_gettop(v) > 1) sq_getinteger(v, 2, &start);
  sq_setinstanceup(v, 1, new SQInteger(start));
  sq_setreleasehook(v, 1, &releaseCounter);
  return 0;
}

SQInteger add(HSQUIRRELVM v) {
  SQInteger* counter = counterOf(v);
  if (!counter) return sq_throwerror(v, "not a counter");
  SQInteger step = 0;
  sq_getinteger(v, 2, &step);
  *counter += step;
  sq_pushinteger(v, *counter);
  return 1;
}

SQInteger value(HSQUIRRELVM v) {
  SQInteger* counter = counterOf(v);
  if (!counter) return sq_throwerror(v, "not a counter");
  sq_pushinteger(v, *counter);
  return 1;
}

SQInteger twice(HSQUIRRELVM v) {
  SQInteger n = 0;
  sq_getinteger(v, 2, &n);
  sq_pushinteger(v, 2 * n);
  return 1;
}

// Called from a script: the constant becomes a slot of the call's `this`.
SQInteger defineDuringCall(HSQUIRRELVM v) {
  sq_const_int(v, "FROM_CALL", 5);
  return 0;
}

// A blob made with the standard library's export: bytes 1, 2, 3.
SQInteger makeBlob(HSQUIRRELVM v) {
  auto* bytes = static_cast<unsigned char*>(sqstd_createblob(v, 3));
  if (!bytes) return sq_throwerror(v, "no blob");
  for (int i = 0; i < 3; ++i) bytes[i] = static_cast<unsigned char>(i + 1);
  return 1;
}

const SquirrelClassMember kCounterMembers[] = {
    {"constructor", &construct, -1, "xi"},
    {"add", &add, 2, "xi"},
    {"value", &value, 1, "x"},
    {nullptr, nullptr, 0, nullptr},
};

__attribute__((constructor)) void registerWithTheEngine() {
  HSQUIRRELVM vm = nullptr;
  getVMSquirrel(&vm);
  if (!vm) return;
  sq_register_class(vm, "Counter", kCounterMembers);
  sq_register_func(vm, "plugin_twice", &twice);
  sq_register_func(vm, "plugin_define", &defineDuringCall);
  sq_register_func(vm, "plugin_blob", &makeBlob);
  sq_const_int(vm, "PLUGIN_ANSWER", 42);
}

}  // namespace
