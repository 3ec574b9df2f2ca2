// Calling conventions: script closures, native closures, class construction, generators, the
// error handler.
#include <vector>

#include "squirrel/sq_runtime.h"

namespace sqvm {

[[noreturn]] void raise(SQVM* v, const Value& error) {
  v->lastError = error;
  v->errorReported = false;
  throw ScriptThrow{};
}

[[noreturn]] void raiseMessage(SQVM* v, const std::string& message) { raise(v, str(v, message)); }

namespace {

void checkFrames(SQVM* v) {
  if (v->frames.size() >= v->maxFrames) raiseMessage(v, "stack overflow");
}

void countInstruction(SQVM* v) {
  SharedState& s = *v->shared;
  if (s.instructionLimit && --s.instructionsLeft < 0) raiseMessage(v, "instruction limit exceeded");
}

SQOuter* findOuter(SQVM* v, int64_t index) {
  SQOuter** link = &v->openOuters;
  while (*link && (*link)->stackIndex > index) link = &(*link)->nextOpen;
  if (*link && (*link)->stackIndex == index) return *link;
  SQOuter* o = v->shared->make<SQOuter>();
  o->valuePtr = &v->stack[index];
  o->stackIndex = index;
  o->nextOpen = *link;
  *link = o;
  return o;
}

std::string maskText(uint32_t mask) {
  static const struct {
    uint32_t bit;
    const char* name;
  } names[] = {{_RT_NULL, "null"}, {_RT_INTEGER, "integer"}, {_RT_FLOAT, "float"}, {_RT_BOOL, "bool"},
               {_RT_STRING, "string"}, {_RT_TABLE, "table"}, {_RT_ARRAY, "array"}, {_RT_USERDATA, "userdata"},
               {_RT_CLOSURE, "closure"}, {_RT_NATIVECLOSURE, "native closure"}, {_RT_GENERATOR, "generator"},
               {_RT_USERPOINTER, "userpointer"}, {_RT_THREAD, "thread"}, {_RT_CLASS, "class"},
               {_RT_INSTANCE, "instance"}, {_RT_WEAKREF, "weakref"}};
  std::string out;
  for (const auto& n : names) {
    if (mask & n.bit) {
      if (!out.empty()) out += "|";
      out += n.name;
    }
  }
  return out;
}

}  // namespace

SQOuter* captureOuter(SQVM* v, int64_t index) { return findOuter(v, index); }

void closeOuters(SQVM* v, int64_t level) {
  while (v->openOuters && v->openOuters->stackIndex >= level) {
    SQOuter* o = v->openOuters;
    o->closed = *o->valuePtr;
    o->valuePtr = &o->closed;
    v->openOuters = o->nextOpen;
    o->nextOpen = nullptr;
  }
}

SQClosure* newClosure(SQVM* v, SQFunctionProto* proto) {
  SQClosure* c = v->shared->make<SQClosure>();
  c->proto = proto;
  c->outers.resize(proto->outers.size(), nullptr);
  for (SQOuter*& o : c->outers) {
    o = v->shared->make<SQOuter>();
    o->closed = nullValue();
    o->valuePtr = &o->closed;
  }
  return c;
}

bool enterClosure(SQVM* v, SQClosure* c, int64_t base, int nargs, uint16_t target, bool exitOnReturn, Value* result) {
  countInstruction(v);
  SQFunctionProto* p = c->proto;
  const int nparams = p->nparams;
  Value* args = v->stack + base;
  if (c->env._type == OT_WEAKREF) args[0] = c->env._unVal.pWeakRef->get();
  if (nargs < nparams) {
    const int firstDefault = nparams - p->ndefaults;
    if (nargs < firstDefault) raiseMessage(v, "wrong number of parameters");
    for (int i = nargs; i < nparams; ++i) args[i] = c->defaults[static_cast<size_t>(i - firstDefault)];
  } else if (nargs > nparams && !p->varargs) {
    raiseMessage(v, "wrong number of parameters");
  }
  const int64_t top = base + p->maxStack;
  if (top + kNativeStackReserve > v->stackCapacity) raiseMessage(v, "stack overflow");
  checkFrames(v);
  if (p->varargs) {
    SQArray* extra = newArray(v);
    if (nargs > nparams) extra->items.assign(args + nparams, args + nargs);
    args[nparams] = objectValue(OT_ARRAY, extra);
  }
  for (int64_t i = std::max<int64_t>(nargs, nparams + (p->varargs ? 1 : 0)); i < p->maxStack; ++i) args[i] = nullValue();
  if (p->generator) {
    SQGenerator* g = v->shared->make<SQGenerator>();
    g->closure = c;
    g->registers.assign(args, args + p->maxStack);
    *result = objectValue(OT_GENERATOR, g);
    return false;
  }
  CallFrame f;
  f.closure = c;
  f.pc = p->code.data();
  f.base = base;
  f.top = top;
  f.target = target;
  f.exitOnReturn = exitOnReturn;
  v->frames.push_back(f);
  v->top = top;
  if (v->shared->debugHookSet()) debugHookEvent(v, 'c', p, p->firstLine);
  return true;
}

void debugHookEvent(SQVM* v, char event, const SQFunctionProto* p, int32_t line) {
  if (!v->shared->debugHookSet() || v->inDebugHook) return;
  const Value hook = v->shared->debugHook;
  SQDEBUGHOOK native = v->shared->nativeDebugHook;
  struct Running {
    SQVM* v;
    explicit Running(SQVM* vm) : v(vm) { v->inDebugHook = true; }
    ~Running() { v->inDebugHook = false; }
  } running(v);
  if (native) {
    native(v, event, p->source ? p->source->chars() : nullptr, line, p->name ? p->name->chars() : nullptr);
    return;
  }
  const Value source = p->source ? objectValue(OT_STRING, p->source) : nullValue();
  const Value name = p->name ? objectValue(OT_STRING, p->name) : nullValue();
  call(v, hook, rootTable(v), {intValue(event), source, intValue(line), name});
}

Value callNative(SQVM* v, SQNativeClosure* nc, int64_t base, int nargs) {
  countInstruction(v);
  if (nc->paramsCheck > 0 && nargs != nc->paramsCheck) raiseMessage(v, "wrong number of parameters");
  if (nc->paramsCheck < 0 && nargs < -nc->paramsCheck) raiseMessage(v, "wrong number of parameters");
  for (size_t i = 0; i < nc->typeMasks.size() && i < static_cast<size_t>(nargs); ++i) {
    const uint32_t mask = nc->typeMasks[i];
    const Value& arg = v->stack[base + static_cast<int64_t>(i)];
    if (mask && !(_RAW_TYPE(static_cast<uint32_t>(arg._type)) & mask))
      raiseMessage(v, "parameter " + std::to_string(i) + " has an invalid type '" + typeName(arg._type) +
                          "' ; expected: '" + maskText(mask) + "'");
  }
  if (base + nargs + static_cast<int64_t>(nc->outers.size()) + kNativeStackReserve > v->stackCapacity)
    raiseMessage(v, "stack overflow");
  checkFrames(v);
  if (nc->env._type == OT_WEAKREF) v->stack[base] = nc->env._unVal.pWeakRef->get();
  v->top = base + nargs;
  for (const Value& o : nc->outers) v->push(o);
  CallFrame f;
  f.native = nc;
  f.base = base;
  f.top = v->top;
  v->frames.push_back(f);
  SharedState& S = *v->shared;
  if (S.nestedExecutions >= kMaxNestedExecutions) {
    v->frames.pop_back();
    raiseMessage(v, "stack overflow (too many nested native calls)");
  }
  const int64_t savedBase = v->stackBase;
  v->stackBase = base;
  ++v->nativeCalls;
  ++S.nestedExecutions;
  SQInteger r;
  try {
    r = nc->function(v);
  } catch (...) {
    --S.nestedExecutions;
    --v->nativeCalls;
    v->stackBase = savedBase;
    v->frames.pop_back();
    throw;
  }
  --S.nestedExecutions;
  --v->nativeCalls;
  v->stackBase = savedBase;
  Value result = nullValue();
  if (r == kSuspendFlag) {
    v->frames.pop_back();
    if (v->top > base) result = v->stack[v->top - 1];
    return result;
  }
  if (r < 0) {
    v->frames.pop_back();
    throw ScriptThrow{};
  }
  if (r > 0 && v->top > base) result = v->stack[v->top - 1];
  v->frames.pop_back();
  return result;
}

Value construct(SQVM* v, SQClass* cls, int64_t argsBase, int nargs) {
  SQInstance* inst = newInstance(v, cls);
  const Value instance = objectValue(OT_INSTANCE, inst);
  v->stack[argsBase] = instance;
  if (cls->constructor._type != OT_NULL) {
    std::vector<Value> args(v->stack + argsBase + 1, v->stack + argsBase + nargs);
    callArray(v, cls->constructor, instance, args);
  }
  return instance;
}

Value callAt(SQVM* v, int64_t funcIndex, int nargs) {
  const Value fn = v->stack[funcIndex];
  const int64_t base = funcIndex + 1;
  switch (fn._type) {
    case OT_CLOSURE: {
      Value result;
      if (!enterClosure(v, fn._unVal.pClosure, base, nargs, kNoReg, true, &result)) return result;
      return run(v);
    }
    case OT_NATIVECLOSURE: return callNative(v, fn._unVal.pNativeClosure, base, nargs);
    case OT_CLASS: return construct(v, fn._unVal.pClass, base, nargs);
    case OT_TABLE:
    case OT_INSTANCE:
    case OT_USERDATA: {
      Value meta;
      if (getMetamethod(v, fn, MT_CALL, meta)) {
        std::vector<Value> args(v->stack + base, v->stack + base + nargs);
        return callArray(v, meta, fn, args);
      }
      break;
    }
    default: break;
  }
  raiseMessage(v, std::string("attempt to call '") + typeName(fn._type) + "'");
}

Value callArray(SQVM* v, const Value& fn, const Value& self, const std::vector<Value>& args) {
  const int64_t saved = v->top;
  if (saved + 2 + static_cast<int64_t>(args.size()) + kNativeStackReserve > v->stackCapacity)
    raiseMessage(v, "stack overflow");
  v->push(fn);
  v->push(self);
  for (const Value& a : args) v->push(a);
  try {
    Value r = callAt(v, saved, static_cast<int>(args.size() + 1));
    v->top = saved;
    return r;
  } catch (...) {
    v->top = saved;
    throw;
  }
}

Value call(SQVM* v, const Value& fn, const Value& self, std::initializer_list<Value> args) {
  return callArray(v, fn, self, std::vector<Value>(args));
}

Value resumeGenerator(SQVM* v, SQGenerator* g) {
  if (g->state == SQGenerator::kRunning) raiseMessage(v, "resuming active generator");
  if (g->state == SQGenerator::kDead) raiseMessage(v, "resuming dead generator");
  checkFrames(v);
  const int64_t base = v->top;
  const int64_t size = static_cast<int64_t>(g->registers.size());
  if (base + size + kNativeStackReserve > v->stackCapacity) raiseMessage(v, "stack overflow");
  for (int64_t i = 0; i < size; ++i) v->stack[base + i] = g->registers[static_cast<size_t>(i)];
  SQFunctionProto* p = g->closure->proto;
  CallFrame f;
  f.closure = g->closure;
  f.pc = p->code.data() + g->pc;
  f.base = base;
  f.top = base + size;
  f.exitOnReturn = true;
  f.generator = g;
  v->frames.push_back(f);
  const size_t trapBase = v->traps.size();
  for (const SQGenerator::SavedTrap& t : g->traps)
    v->traps.push_back({v->frames.size() - 1, p->code.data() + t.handlerPc, base + t.stackOffset, t.reg});
  g->traps.clear();
  g->state = SQGenerator::kRunning;
  v->top = f.top;
  const int64_t saved = base;
  try {
    Value r = run(v, v->frames.size() - 1, trapBase);
    v->top = saved;
    return r;
  } catch (...) {
    v->top = saved;
    throw;
  }
}

void reportError(SQVM* v) {
  if (v->errorReported) return;
  v->errorReported = true;
  const Value handler = v->shared->errorHandler;
  if (handler._type != OT_CLOSURE && handler._type != OT_NATIVECLOSURE) return;
  const Value error = v->lastError;
  try {
    call(v, handler, v->roottable, {error});
  } catch (const ScriptThrow&) {
  }
  v->lastError = error;
  v->errorReported = true;
}

}  // namespace sqvm
