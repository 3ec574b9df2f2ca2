// The base library: the global functions every script has.
#include <string>

#include "squirrel/sq_codegen.h"
#include "squirrel/sq_native_support.h"

namespace sqvm {

namespace {

SQInteger basePrint(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    SQString* s = toString(v, arg(v, 1));
    if (v->shared->printFunction) v->shared->printFunction(v, "%s", s->chars());
    return SQInteger(0);
  });
}

SQInteger baseError(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    SQString* s = toString(v, arg(v, 1));
    if (v->shared->errorFunction) v->shared->errorFunction(v, "%s", s->chars());
    return SQInteger(0);
  });
}

SQInteger baseArray(HSQUIRRELVM v) {
  const SQInteger size = toInteger(arg(v, 1));
  if (size < 0 || size > kMaxArrayLength) return fail(v, "size out of range");
  SQArray* a = newArray(v);
  a->items.assign(static_cast<size_t>(size), argCount(v) > 2 ? arg(v, 2) : nullValue());
  return ret(v, objectValue(OT_ARRAY, a));
}

SQInteger baseSetErrorHandler(HSQUIRRELVM v) {
  v->shared->errorHandler = arg(v, 1);
  return 0;
}

SQInteger baseSetDebugHook(HSQUIRRELVM v) {
  v->shared->debugHook = arg(v, 1);
  v->shared->nativeDebugHook = nullptr;
  return 0;
}

SQInteger baseEnableDebugInfo(HSQUIRRELVM v) {
  v->shared->debugInfo = arg(v, 1)._type != OT_NULL && !isFalse(arg(v, 1));
  return 0;
}

SQInteger baseCallee(HSQUIRRELVM v) {
  // Frame 0 is callee() itself.
  for (size_t i = v->frames.size() - 1; i-- > 0;) {
    const CallFrame& f = v->frames[i];
    if (f.closure) return ret(v, objectValue(OT_CLOSURE, f.closure));
    if (f.native) return ret(v, objectValue(OT_NATIVECLOSURE, f.native));
  }
  return fail(v, "no closure in the calls stack");
}

SQInteger baseGetRootTable(HSQUIRRELVM v) { return ret(v, v->roottable); }
SQInteger baseGetConstTable(HSQUIRRELVM v) { return ret(v, v->shared->consttable); }

SQInteger baseSetRootTable(HSQUIRRELVM v) {
  const Value old = v->roottable;
  if (arg(v, 1)._type != OT_TABLE && arg(v, 1)._type != OT_NULL) return fail(v, "the root table must be a table");
  v->roottable = arg(v, 1);
  return ret(v, old);
}

SQInteger baseSetConstTable(HSQUIRRELVM v) {
  const Value old = v->shared->consttable;
  v->shared->consttable = arg(v, 1);
  return ret(v, old);
}

SQInteger baseAssert(HSQUIRRELVM v) {
  if (!isFalse(arg(v, 1))) return 0;
  if (argCount(v) > 2) {
    return nativeBody(v, [&] { return fail(v, std::string(toString(v, arg(v, 2))->view())); });
  }
  return fail(v, "assertion failed");
}

SQInteger baseCompileString(HSQUIRRELVM v) {
  SQString* src = arg(v, 1)._unVal.pString;
  const char* name = argCount(v) > 2 && arg(v, 2)._type == OT_STRING ? arg(v, 2)._unVal.pString->chars() : "unnamedbuffer";
  if (sq_compilebuffer(v, src->chars(), src->length, name, SQFalse) < 0) return SQ_ERROR;
  return 1;
}

SQInteger baseCollectGarbage(HSQUIRRELVM v) { return ret(v, intValue(collectGarbage(*v->shared))); }
SQInteger baseResurrect(HSQUIRRELVM v) {
  collectGarbage(*v->shared);
  return ret(v, nullValue());
}

SQInteger baseType(HSQUIRRELVM v) { return ret(v, str(v, typeName(arg(v, 1)._type))); }

SQInteger baseGetStackInfos(HSQUIRRELVM v) {
  const SQInteger level = toInteger(arg(v, 1));
  SQStackInfos si;
  if (sq_stackinfos(v, level, &si) < 0) return ret(v, nullValue());
  SQTable* t = newTable(v);
  apiPush(v, objectValue(OT_TABLE, t));
  t->set(str(v, "func"), str(v, si.funcname));
  t->set(str(v, "src"), str(v, si.source));
  t->set(str(v, "line"), intValue(si.line));
  SQTable* locals = newTable(v);
  t->set(str(v, "locals"), objectValue(OT_TABLE, locals));
  for (SQUnsignedInteger i = 0;; ++i) {
    const char* name = sq_getlocal(v, static_cast<SQUnsignedInteger>(level), i);
    if (!name) break;
    locals->set(str(v, name), v->stack[v->top - 1]);
    --v->top;
  }
  return 1;
}

SQInteger baseNewThread(HSQUIRRELVM v) {
  const Value fn = arg(v, 1);
  HSQUIRRELVM t = sq_newthread(v, 1024);
  t->push(fn);  // the thread's function stays at the bottom of its stack
  return 1;
}

SQInteger baseSuspend(HSQUIRRELVM v) {
  if (v->isMain || v->runDepth != 1) return fail(v, "cannot suspend through native calls");
  const Value value = argCount(v) > 1 ? arg(v, 1) : nullValue();
  apiPush(v, value);
  v->suspendRequested = true;
  return kSuspendFlag;
}

SQInteger baseDummy(HSQUIRRELVM) { return 0; }

const NativeEntry kBaseFunctions[] = {
    {"seterrorhandler", baseSetErrorHandler, 2, nullptr},
    {"setdebughook", baseSetDebugHook, 2, nullptr},
    {"enabledebuginfo", baseEnableDebugInfo, 2, nullptr},
    {"getstackinfos", baseGetStackInfos, 2, ".n"},
    {"getroottable", baseGetRootTable, 1, nullptr},
    {"setroottable", baseSetRootTable, 2, nullptr},
    {"getconsttable", baseGetConstTable, 1, nullptr},
    {"setconsttable", baseSetConstTable, 2, ".t"},
    {"assert", baseAssert, -2, nullptr},
    {"print", basePrint, 2, nullptr},
    {"error", baseError, 2, nullptr},
    {"compilestring", baseCompileString, -2, ".ss"},
    {"newthread", baseNewThread, 2, ".c"},
    {"suspend", baseSuspend, -1, nullptr},
    {"array", baseArray, -2, ".n"},
    {"type", baseType, 2, nullptr},
    {"callee", baseCallee, 1, nullptr},
    {"dummy", baseDummy, 0, nullptr},
    {"collectgarbage", baseCollectGarbage, 1, nullptr},
    {"resurrectunreachable", baseResurrect, 1, nullptr},
    {nullptr, nullptr, 0, nullptr}};

}  // namespace

void openBaseLibrary(SQVM* v) {
  if (v->roottable._type != OT_TABLE) return;
  SQTable* root = v->roottable._unVal.pTable;
  registerAll(v, root, kBaseFunctions);
  root->set(str(v, "_versionnumber_"), intValue(SQUIRREL_VERSION_NUMBER));
  root->set(str(v, "_version_"), str(v, SQUIRREL_VERSION));
  root->set(str(v, "_charsize_"), intValue(sizeof(SQChar)));
  root->set(str(v, "_intsize_"), intValue(sizeof(SQInteger)));
  root->set(str(v, "_floatsize_"), intValue(sizeof(SQFloat)));
}

}  // namespace sqvm
