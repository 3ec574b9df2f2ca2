// Small helpers for the VM's own native functions (base library and default delegates).
#pragma once

#include "squirrel/sq_api_support.h"

namespace sqvm {

inline SQInteger argCount(SQVM* v) { return v->top - v->stackBase; }
inline Value& arg(SQVM* v, SQInteger i) { return v->stack[v->stackBase + i]; }
inline SQInteger ret(SQVM* v, const Value& value) {
  apiPush(v, value);
  return 1;
}
inline SQInteger fail(SQVM* v, const std::string& message) { return sq_throwerror(v, message.c_str()); }

// Runs a native body that may raise script errors through the runtime helpers.
template <class F>
SQInteger nativeBody(SQVM*, F&& body) {
  try {
    return body();
  } catch (const ScriptThrow&) {
    return SQ_ERROR;
  }
}

struct NativeEntry {
  const char* name;
  SQFUNCTION function;
  SQInteger nparams;
  const char* typemask;
};

inline void registerAll(SQVM* v, SQTable* table, const NativeEntry* entries) {
  for (const NativeEntry* e = entries; e->name; ++e) registerNative(v, table, e->name, e->function, e->nparams, e->typemask);
}

}  // namespace sqvm
