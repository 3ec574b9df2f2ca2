// Helpers of the C API implementation: stack index validation and the error boundary.
#pragma once

#include "squirrel/sq_runtime.h"

namespace sqvm {

// Resolves an API index to a stack slot of the current frame; false when out of range.
inline bool resolveIndex(SQVM* v, SQInteger idx, int64_t& slot) {
  if (idx > 0) slot = v->stackBase + idx - 1;
  else if (idx < 0) slot = v->top + idx;
  else return false;
  return slot >= v->stackBase && slot < v->top;
}

inline Value* valueAt(SQVM* v, SQInteger idx) {
  int64_t slot;
  return resolveIndex(v, idx, slot) ? &v->stack[slot] : nullptr;
}

inline SQRESULT apiError(SQVM* v, const char* message) {
  v->lastError = str(v, message);
  return SQ_ERROR;
}

inline void apiPush(SQVM* v, const Value& value) {
  if (v->top < v->stackCapacity) v->push(value);
}

inline bool apiPop(SQVM* v, int64_t n) {
  if (n < 0 || v->top - n < v->stackBase) return false;
  v->top -= n;
  return true;
}

// Runs body; a script error becomes SQ_ERROR (the error value stays in lastError).
template <class F>
SQRESULT guarded(SQVM*, F&& body) {
  try {
    body();
    return SQ_OK;
  } catch (const ScriptThrow&) {
    return SQ_ERROR;
  }
}

void openDefaultDelegates(SQVM* v);
void openBaseLibrary(SQVM* v);
// Registers fn under name in the table on top of the stack (typemask as sq_setparamscheck).
void registerNative(SQVM* v, SQTable* table, const char* name, SQFUNCTION fn, SQInteger nparams,
                    const char* typemask);
bool parseTypeMask(const char* mask, std::vector<uint32_t>& out);

}  // namespace sqvm
