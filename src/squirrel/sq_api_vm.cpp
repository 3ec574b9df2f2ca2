// C API: virtual machines, threads, handlers, the compiler entry points.
#include <cstdarg>
#include <string>

#include "squirrel/sq_api_support.h"
#include "squirrel/sq_codegen.h"

using namespace sqvm;

namespace {

const char* const kMetaNames[MT_COUNT] = {"_add",   "_sub",   "_mul",   "_div",    "_unm",     "_modulo",
                                          "_set",   "_get",   "_typeof", "_nexti", "_cmp",     "_call",
                                          "_cloned", "_newslot", "_delslot", "_tostring", "_newmember", "_inherited"};

void initialise(SQVM* v) {
  SharedState& s = *v->shared;
  for (int i = 0; i < MT_COUNT; ++i) s.metaNames[i] = s.string(kMetaNames[i]);
  s.constructorName = s.string("constructor");
  v->roottable = objectValue(OT_TABLE, newTable(v));
  s.registry = objectValue(OT_TABLE, newTable(v));
  s.consttable = objectValue(OT_TABLE, newTable(v));
  openDefaultDelegates(v);
  openBaseLibrary(v);
}

}  // namespace

extern "C" {

HSQUIRRELVM sq_open(SQInteger initialstacksize) {
  auto* shared = new SharedState();
  const int64_t capacity = std::max<int64_t>(initialstacksize + kNativeStackReserve, kMainStackSlots);
  SQVM* v = shared->make<SQVM>(shared, capacity, kMainFrames);
  v->isMain = true;
  shared->mainVM = v;
  initialise(v);
  return v;
}

HSQUIRRELVM sq_newthread(HSQUIRRELVM friendvm, SQInteger initialstacksize) {
  SharedState& s = *friendvm->shared;
  const int64_t capacity = std::max<int64_t>(initialstacksize + kNativeStackReserve, kThreadStackSlots);
  SQVM* t = s.make<SQVM>(&s, capacity, kThreadFrames);
  t->roottable = friendvm->roottable;
  apiPush(friendvm, objectValue(OT_THREAD, t));
  return t;
}

void sq_close(HSQUIRRELVM v) {
  if (!v) return;
  SharedState* s = v->shared;
  if (!v->isMain) {
    // A thread lives as long as its thread object; closing it only empties its stack.
    v->top = 0;
    v->frames.clear();
    v->traps.clear();
    return;
  }
  if (s->sharedReleaseHook) s->sharedReleaseHook(s->sharedForeign, 0);
  freeAllObjects(*s);
  delete s;
}

void sq_seterrorhandler(HSQUIRRELVM v) {
  if (v->top <= v->stackBase) return;
  const Value h = v->stack[v->top - 1];
  if (h._type == OT_CLOSURE || h._type == OT_NATIVECLOSURE || h._type == OT_NULL) v->shared->errorHandler = h;
  --v->top;
}

void sq_setforeignptr(HSQUIRRELVM v, SQUserPointer p) { v->foreign = p; }
SQUserPointer sq_getforeignptr(HSQUIRRELVM v) { return v->foreign; }
void sq_setsharedforeignptr(HSQUIRRELVM v, SQUserPointer p) { v->shared->sharedForeign = p; }
SQUserPointer sq_getsharedforeignptr(HSQUIRRELVM v) { return v->shared->sharedForeign; }

void sq_setprintfunc(HSQUIRRELVM v, SQPRINTFUNCTION printfunc, SQPRINTFUNCTION errfunc) {
  v->shared->printFunction = printfunc;
  v->shared->errorFunction = errfunc;
}
SQPRINTFUNCTION sq_getprintfunc(HSQUIRRELVM v) { return v->shared->printFunction; }
SQPRINTFUNCTION sq_geterrorfunc(HSQUIRRELVM v) { return v->shared->errorFunction; }

SQInteger sq_getvmstate(HSQUIRRELVM v) { return v->state; }
SQInteger sq_getversion(void) { return SQUIRREL_VERSION_NUMBER; }

void sq_pushroottable(HSQUIRRELVM v) { apiPush(v, v->roottable); }
void sq_pushregistrytable(HSQUIRRELVM v) { apiPush(v, v->shared->registry); }
void sq_pushconsttable(HSQUIRRELVM v) { apiPush(v, v->shared->consttable); }

void sq_setroottable(HSQUIRRELVM v) {
  if (v->top <= v->stackBase) return;
  const Value t = v->stack[v->top - 1];
  if (t._type == OT_TABLE || t._type == OT_NULL) v->roottable = t;
  --v->top;
}

void sq_setconsttable(HSQUIRRELVM v) {
  if (v->top <= v->stackBase) return;
  const Value t = v->stack[v->top - 1];
  if (t._type == OT_TABLE) v->shared->consttable = t;
  --v->top;
}

void sq_move(HSQUIRRELVM dest, HSQUIRRELVM src, SQInteger idx) {
  if (Value* p = valueAt(src, idx)) apiPush(dest, *p);
}

SQRESULT sq_compilebuffer(HSQUIRRELVM v, const SQChar* s, SQInteger size, const SQChar* sourcename, SQBool raiseerror) {
  const std::string_view source(s ? s : "", s && size > 0 ? static_cast<size_t>(size) : 0);
  const char* name = sourcename ? sourcename : "unnamed";
  try {
    SQFunctionProto* proto = compileScript(v, source, name);
    SQClosure* c = newClosure(v, proto);
    apiPush(v, objectValue(OT_CLOSURE, c));
    return SQ_OK;
  } catch (const CompileError& e) {
    if (raiseerror && v->shared->compilerErrorHandler)
      v->shared->compilerErrorHandler(v, e.message.c_str(), name, e.line, e.column);
    v->lastError = str(v, e.message);
    return SQ_ERROR;
  }
}

SQRESULT sq_compile(HSQUIRRELVM v, SQLEXREADFUNC read, SQUserPointer p, const SQChar* sourcename, SQBool raiseerror) {
  std::string text;
  if (read) {
    for (SQInteger c; (c = read(p)) != 0;) text.push_back(static_cast<char>(c));
  }
  return sq_compilebuffer(v, text.data(), static_cast<SQInteger>(text.size()), sourcename, raiseerror);
}

void sq_enabledebuginfo(HSQUIRRELVM v, SQBool enable) { v->shared->debugInfo = enable != 0; }
void sq_notifyallexceptions(HSQUIRRELVM v, SQBool enable) { v->shared->notifyAllExceptions = enable != 0; }
void sq_setcompilererrorhandler(HSQUIRRELVM v, SQCOMPILERERROR f) { v->shared->compilerErrorHandler = f; }

SQInteger sq_collectgarbage(HSQUIRRELVM v) { return collectGarbage(*v->shared); }

SQRESULT sq_resurrectunreachable(HSQUIRRELVM v) {
  collectGarbage(*v->shared);
  apiPush(v, nullValue());
  return SQ_OK;
}

void sq_setdebughook(HSQUIRRELVM v) {
  if (v->top > v->stackBase) {
    v->shared->debugHook = v->stack[v->top - 1];
    v->shared->nativeDebugHook = nullptr;
    --v->top;
  }
}

void sq_setnativedebughook(HSQUIRRELVM v, SQDEBUGHOOK hook) {
  v->shared->nativeDebugHook = hook;
  v->shared->debugHook = nullValue();
}

SQChar* sq_getscratchpad(HSQUIRRELVM v, SQInteger minsize) {
  std::string& pad = v->shared->scratchpad;
  if (minsize > 0 && static_cast<size_t>(minsize) > pad.size()) pad.resize(static_cast<size_t>(minsize));
  if (pad.empty()) pad.resize(16);
  return pad.data();
}

SQRESULT sq_registerbaselib(HSQUIRRELVM v) {
  openBaseLibrary(v);
  return SQ_OK;
}

void sq_setinstructionlimit(HSQUIRRELVM v, SQInteger maxinstructions) {
  v->shared->instructionLimit = maxinstructions > 0 ? maxinstructions : 0;
  v->shared->instructionsLeft = v->shared->instructionLimit;
}

SQInteger sq_getlivecount(HSQUIRRELVM v) { return static_cast<SQInteger>(v->shared->objectCount); }

}  // extern "C"
