// Default delegates of closures, classes, instances and threads.
#include <utility>

#include "squirrel/sq_native_support.h"

namespace sqvm {

SQInteger delegateToString(HSQUIRRELVM v);
SQInteger delegateWeakRef(HSQUIRRELVM v);
SQInteger delegateRawGet(HSQUIRRELVM v);
SQInteger delegateRawSet(HSQUIRRELVM v);
SQInteger delegateRawIn(HSQUIRRELVM v);

namespace {

// Calls arg 0 with this = first and the rest; protected calls keep the error handler out.
SQInteger callWith(HSQUIRRELVM v, std::vector<Value> args, bool protect) {
  const bool saved = v->raiseError;
  if (protect) v->raiseError = false;
  const SQInteger r = nativeBody(v, [&] {
    const Value self = args.empty() ? v->roottable : args[0];
    std::vector<Value> rest(args.size() > 1 ? args.begin() + 1 : args.end(), args.end());
    return ret(v, callArray(v, arg(v, 0), self, rest));
  });
  v->raiseError = saved;
  return r;
}

SQInteger fnCall(HSQUIRRELVM v, bool protect) {
  std::vector<Value> args(v->stack + v->stackBase + 1, v->stack + v->top);
  return callWith(v, std::move(args), protect);
}
SQInteger fnCallPlain(HSQUIRRELVM v) { return fnCall(v, false); }
SQInteger fnPCall(HSQUIRRELVM v) { return fnCall(v, true); }
SQInteger fnArrayCall(HSQUIRRELVM v, bool protect) {
  const auto& items = arg(v, 1)._unVal.pArray->items;
  return callWith(v, std::vector<Value>(items.begin(), items.end()), protect);
}
SQInteger fnACall(HSQUIRRELVM v) { return fnArrayCall(v, false); }
SQInteger fnPACall(HSQUIRRELVM v) { return fnArrayCall(v, true); }

SQInteger fnBindEnv(HSQUIRRELVM v) {
  if (sq_bindenv(v, 1) < 0) return SQ_ERROR;
  return 1;
}
SQInteger fnSetRoot(HSQUIRRELVM v) {
  if (sq_setclosureroot(v, 1) < 0) return SQ_ERROR;
  return 0;
}
SQInteger fnGetRoot(HSQUIRRELVM v) {
  if (sq_getclosureroot(v, 1) < 0) return SQ_ERROR;
  return 1;
}

SQInteger fnGetInfos(HSQUIRRELVM v) {
  const Value fn = arg(v, 0);
  SQTable* t = newTable(v);
  apiPush(v, objectValue(OT_TABLE, t));
  if (fn._type == OT_CLOSURE) {
    SQFunctionProto* p = fn._unVal.pClosure->proto;
    t->set(str(v, "native"), boolValue(false));
    t->set(str(v, "name"), p->name ? objectValue(OT_STRING, p->name) : nullValue());
    t->set(str(v, "src"), p->source ? objectValue(OT_STRING, p->source) : nullValue());
    SQArray* params = newArray(v);
    t->set(str(v, "parameters"), objectValue(OT_ARRAY, params));
    params->items.push_back(str(v, "this"));
    for (SQString* n : p->parameterNames) params->items.push_back(objectValue(OT_STRING, n));
    SQArray* defs = newArray(v);
    t->set(str(v, "defparams"), objectValue(OT_ARRAY, defs));
    defs->items = fn._unVal.pClosure->defaults;
    t->set(str(v, "varargs"), intValue(p->varargs ? 1 : 0));
  } else {
    SQNativeClosure* nc = fn._unVal.pNativeClosure;
    t->set(str(v, "native"), boolValue(true));
    t->set(str(v, "name"), nc->name);
    t->set(str(v, "paramscheck"), intValue(nc->paramsCheck));
    SQArray* masks = newArray(v);
    t->set(str(v, "typecheck"), objectValue(OT_ARRAY, masks));
    for (uint32_t m : nc->typeMasks) masks->items.push_back(intValue(m));
  }
  return 1;
}

SQInteger clsInstance(HSQUIRRELVM v) { return ret(v, objectValue(OT_INSTANCE, newInstance(v, arg(v, 0)._unVal.pClass))); }
SQInteger clsGetBase(HSQUIRRELVM v) {
  SQClass* base = arg(v, 0)._unVal.pClass->base;
  return ret(v, base ? objectValue(OT_CLASS, base) : nullValue());
}
SQInteger clsGetAttributes(HSQUIRRELVM v) {
  v->top = v->stackBase + 2;
  return sq_getattributes(v, 1) < 0 ? SQ_ERROR : 1;
}
SQInteger clsSetAttributes(HSQUIRRELVM v) {
  v->top = v->stackBase + 3;
  return sq_setattributes(v, 1) < 0 ? SQ_ERROR : 1;
}
SQInteger clsNewMember(HSQUIRRELVM v, bool raw) {
  return nativeBody(v, [&] {
    const Value attrs = argCount(v) > 3 ? arg(v, 3) : nullValue();
    const bool isStatic = argCount(v) > 4 && !isFalse(arg(v, 4));
    addMember(v, arg(v, 0)._unVal.pClass, arg(v, 1), arg(v, 2), attrs, isStatic, raw);
    return SQInteger(0);
  });
}
SQInteger clsNewMemberMeta(HSQUIRRELVM v) { return clsNewMember(v, false); }
SQInteger clsRawNewMember(HSQUIRRELVM v) { return clsNewMember(v, true); }

SQInteger instGetClass(HSQUIRRELVM v) { return ret(v, objectValue(OT_CLASS, arg(v, 0)._unVal.pInstance->cls)); }

SQVM* thread(HSQUIRRELVM v) { return arg(v, 0)._unVal.pThread; }

// Copies a thread's error into the calling VM.
SQInteger threadFailed(HSQUIRRELVM v, SQVM* t) {
  v->lastError = t->lastError;
  v->errorReported = false;
  return SQ_ERROR;
}

SQInteger thrCall(HSQUIRRELVM v) {
  SQVM* t = thread(v);
  if (t->state != SQ_VMSTATE_IDLE) return fail(v, "wrong thread state");
  if (t->top < 1) return fail(v, "the thread has no function");
  const SQInteger nargs = argCount(v) - 1;
  if (nargs + 2 + kNativeStackReserve > t->stackCapacity) return fail(v, "stack overflow");
  t->top = 1;
  t->push(t->stack[0]);
  t->push(t->roottable);
  for (SQInteger i = 1; i <= nargs; ++i) t->push(arg(v, i));
  if (sq_call(t, nargs + 1, SQTrue, SQFalse) < 0) {
    t->top = 1;
    return threadFailed(v, t);
  }
  const Value r = t->stack[t->top - 1];
  --t->top;
  if (t->state != SQ_VMSTATE_SUSPENDED) t->top = 1;
  return ret(v, r);
}

SQInteger thrWakeup(HSQUIRRELVM v, bool throwing) {
  SQVM* t = thread(v);
  if (t->state != SQ_VMSTATE_SUSPENDED) return fail(v, "cannot wakeup a thread that is not suspended");
  if (throwing) {
    t->lastError = argCount(v) > 1 ? arg(v, 1) : nullValue();
    t->errorReported = false;
  } else {
    t->push(argCount(v) > 1 ? arg(v, 1) : nullValue());
  }
  if (sq_wakeupvm(t, throwing ? SQFalse : SQTrue, SQTrue, SQFalse, throwing ? SQTrue : SQFalse) < 0) {
    t->top = 1;
    const bool propagate = !throwing || argCount(v) <= 2 || !isFalse(arg(v, 2));
    if (propagate) return threadFailed(v, t);
    return ret(v, nullValue());
  }
  const Value r = t->stack[t->top - 1];
  --t->top;
  return ret(v, r);
}
SQInteger thrWakeupPlain(HSQUIRRELVM v) { return thrWakeup(v, false); }
SQInteger thrWakeupThrow(HSQUIRRELVM v) { return thrWakeup(v, true); }

SQInteger thrGetStatus(HSQUIRRELVM v) {
  switch (thread(v)->state) {
    case SQ_VMSTATE_RUNNING: return ret(v, str(v, "running"));
    case SQ_VMSTATE_SUSPENDED: return ret(v, str(v, "suspended"));
    default: return ret(v, str(v, "idle"));
  }
}

SQInteger thrGetStackInfos(HSQUIRRELVM v) {
  SQVM* t = thread(v);
  SQStackInfos si;
  if (sq_stackinfos(t, toInteger(arg(v, 1)), &si) < 0) return ret(v, nullValue());
  SQTable* info = newTable(v);
  apiPush(v, objectValue(OT_TABLE, info));
  info->set(str(v, "func"), str(v, si.funcname));
  info->set(str(v, "src"), str(v, si.source));
  info->set(str(v, "line"), intValue(si.line));
  return 1;
}

const NativeEntry kClosureDelegate[] = {
    {"call", fnCallPlain, -1, "c"},
    {"pcall", fnPCall, -1, "c"},
    {"acall", fnACall, 2, "ca"},
    {"pacall", fnPACall, 2, "ca"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"bindenv", fnBindEnv, 2, "c x|y|t"},
    {"setroot", fnSetRoot, 2, "ct"},
    {"getroot", fnGetRoot, 1, "c"},
    {"getinfos", fnGetInfos, 1, "c"},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kClassDelegate[] = {
    {"instance", clsInstance, 1, "y"},
    {"getbase", clsGetBase, 1, "y"},
    {"getattributes", clsGetAttributes, 2, "y."},
    {"setattributes", clsSetAttributes, 3, "y.."},
    {"rawin", delegateRawIn, 2, "y"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"rawget", delegateRawGet, 2, "y"},
    {"rawset", delegateRawSet, 3, "y"},
    {"newmember", clsNewMemberMeta, -3, "y"},
    {"rawnewmember", clsRawNewMember, -3, "y"},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kInstanceDelegate[] = {
    {"getclass", instGetClass, 1, "x"},
    {"rawin", delegateRawIn, 2, "x"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"rawget", delegateRawGet, 2, "x"},
    {"rawset", delegateRawSet, 3, "x"},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kThreadDelegate[] = {
    {"call", thrCall, -1, "v"},
    {"wakeup", thrWakeupPlain, -1, "v"},
    {"wakeupthrow", thrWakeupThrow, -2, "v.b"},
    {"getstatus", thrGetStatus, 1, "v"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"getstackinfos", thrGetStackInfos, 2, "vn"},
    {nullptr, nullptr, 0, nullptr}};

}  // namespace

void openFunctionDelegates(SQVM* v) {
  registerAll(v, v->shared->delegates[DD_CLOSURE], kClosureDelegate);
  registerAll(v, v->shared->delegates[DD_CLASS], kClassDelegate);
  registerAll(v, v->shared->delegates[DD_INSTANCE], kInstanceDelegate);
  registerAll(v, v->shared->delegates[DD_THREAD], kThreadDelegate);
}

}  // namespace sqvm
