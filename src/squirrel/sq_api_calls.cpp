// C API: calls, errors, suspension and the debug interface.
#include "squirrel/sq_api_support.h"

using namespace sqvm;

namespace {

// Frames from the innermost (level 0) outwards.
const CallFrame* frameAt(SQVM* v, SQInteger level) {
  if (level < 0 || static_cast<size_t>(level) >= v->frames.size()) return nullptr;
  return &v->frames[v->frames.size() - 1 - static_cast<size_t>(level)];
}

}  // namespace

extern "C" {

SQRESULT sq_call(HSQUIRRELVM v, SQInteger params, SQBool retval, SQBool raiseerror) {
  const int64_t funcIndex = v->top - params - 1;
  if (params < 1 || funcIndex < v->stackBase) return apiError(v, "wrong number of parameters for sq_call");
  const bool savedRaise = v->raiseError;
  v->raiseError = raiseerror != 0;
  if (v->state == SQ_VMSTATE_IDLE && !v->isMain) {
    v->threadEntryFrames = v->frames.size();
    v->threadTrapBase = v->traps.size();
  }
  const SQInteger savedState = v->state;
  if (v->state == SQ_VMSTATE_IDLE) v->state = SQ_VMSTATE_RUNNING;
  try {
    Value r = callAt(v, funcIndex, static_cast<int>(params));
    v->raiseError = savedRaise;
    if (v->isMain) v->state = savedState;
    if (v->state == SQ_VMSTATE_SUSPENDED) {
      if (retval) apiPush(v, r);
      return SQ_OK;
    }
    if (!v->isMain && savedState == SQ_VMSTATE_IDLE) v->state = SQ_VMSTATE_IDLE;
    v->top = funcIndex + 1;
    if (retval) apiPush(v, r);
    return SQ_OK;
  } catch (const ScriptThrow&) {
    if (raiseerror && !v->errorReported && v->traps.empty()) reportError(v);
    v->raiseError = savedRaise;
    if (v->isMain || savedState == SQ_VMSTATE_IDLE) v->state = savedState;
    v->top = funcIndex + 1;
    return SQ_ERROR;
  }
}

SQRESULT sq_resume(HSQUIRRELVM v, SQBool retval, SQBool raiseerror) {
  Value* p = valueAt(v, -1);
  if (!p || p->_type != OT_GENERATOR) return apiError(v, "only generators can be resumed");
  SQGenerator* g = p->_unVal.pGenerator;
  const bool savedRaise = v->raiseError;
  v->raiseError = raiseerror != 0;
  Value r;
  const SQRESULT res = guarded(v, [&] { r = resumeGenerator(v, g); });
  v->raiseError = savedRaise;
  if (res < 0) return res;
  if (retval) apiPush(v, r);
  return SQ_OK;
}

SQRESULT sq_suspendvm(HSQUIRRELVM v) {
  if (v->isMain || v->runDepth != 1 || v->state != SQ_VMSTATE_RUNNING)
    return apiError(v, "cannot suspend this vm: it is not a thread running script code");
  v->suspendRequested = true;
  return kSuspendFlag;
}

SQRESULT sq_wakeupvm(HSQUIRRELVM v, SQBool resumedret, SQBool retval, SQBool raiseerror, SQBool throwerror) {
  if (v->state != SQ_VMSTATE_SUSPENDED) return apiError(v, "cannot wakeup a vm that is not suspended");
  Value wake = nullValue();
  if (resumedret && v->top > v->stackBase) wake = v->stack[--v->top];
  if (v->frames.empty()) return apiError(v, "nothing to wake up");
  CallFrame& f = v->frames.back();
  if (v->suspendTarget != kNoReg && f.closure) v->stack[f.base + v->suspendTarget] = wake;
  v->top = f.top;
  v->state = SQ_VMSTATE_RUNNING;
  const bool savedRaise = v->raiseError;
  v->raiseError = raiseerror != 0;
  const int64_t entryBase = v->frames[v->threadEntryFrames].base - 1;
  try {
    if (throwerror) {
      // Deliver the pending error at the point of suspension.
      throw ScriptThrow{};
    }
    Value r = run(v, v->threadEntryFrames, v->threadTrapBase);
    v->raiseError = savedRaise;
    if (v->state != SQ_VMSTATE_SUSPENDED) {
      v->state = SQ_VMSTATE_IDLE;
      v->top = entryBase + 1;
    }
    if (retval) apiPush(v, r);
    return SQ_OK;
  } catch (const ScriptThrow&) {
    if (throwerror && v->frames.size() > v->threadEntryFrames) {
      // The error happened outside run(): unwind the suspended frames here.
      while (v->frames.size() > v->threadEntryFrames) {
        closeOuters(v, v->frames.back().base);
        v->frames.pop_back();
      }
      v->traps.resize(std::min(v->traps.size(), v->threadTrapBase));
    }
    if (raiseerror && !v->errorReported) reportError(v);
    v->raiseError = savedRaise;
    v->state = SQ_VMSTATE_IDLE;
    v->top = entryBase + 1;
    return SQ_ERROR;
  }
}

SQRESULT sq_getcallee(HSQUIRRELVM v) {
  for (size_t i = v->frames.size(); i-- > 0;) {
    const CallFrame& f = v->frames[i];
    if (f.closure) {
      apiPush(v, objectValue(OT_CLOSURE, f.closure));
      return SQ_OK;
    }
    if (f.native) {
      apiPush(v, objectValue(OT_NATIVECLOSURE, f.native));
      return SQ_OK;
    }
  }
  return apiError(v, "no closure in the calls stack");
}

SQRESULT sq_throwerror(HSQUIRRELVM v, const SQChar* err) {
  v->lastError = str(v, err ? err : "");
  v->errorReported = false;
  return SQ_ERROR;
}

SQRESULT sq_throwobject(HSQUIRRELVM v) {
  if (v->top > v->stackBase) v->lastError = v->stack[--v->top];
  else v->lastError = nullValue();
  v->errorReported = false;
  return SQ_ERROR;
}

void sq_reseterror(HSQUIRRELVM v) { v->lastError = nullValue(); }

SQRESULT sq_getlasterror(HSQUIRRELVM v) {
  apiPush(v, v->lastError);
  return SQ_OK;
}

SQRESULT sq_stackinfos(HSQUIRRELVM v, SQInteger level, SQStackInfos* si) {
  const CallFrame* f = frameAt(v, level);
  if (!f || !si) return SQ_ERROR;
  if (f->closure) {
    SQFunctionProto* p = f->closure->proto;
    si->funcname = p->name ? p->name->chars() : "unknown";
    si->source = p->source ? p->source->chars() : "unknown";
    const size_t pc = f->pc ? static_cast<size_t>(f->pc - p->code.data()) : 0;
    si->line = p->lineAt(pc > 0 ? pc - 1 : 0);
  } else {
    const Value& n = f->native->name;
    si->funcname = n._type == OT_STRING ? n._unVal.pString->chars() : "unknown";
    si->source = "NATIVE";
    si->line = -1;
  }
  return SQ_OK;
}

SQRESULT sq_getfunctioninfo(HSQUIRRELVM v, SQInteger level, SQFunctionInfo* fi) {
  const CallFrame* f = frameAt(v, level);
  if (!f || !f->closure || !fi) return apiError(v, "the function is not a closure");
  SQFunctionProto* p = f->closure->proto;
  fi->funcid = p;
  fi->name = p->name ? p->name->chars() : "unknown";
  fi->source = p->source ? p->source->chars() : "unknown";
  fi->line = p->firstLine;
  return SQ_OK;
}

const SQChar* sq_getlocal(HSQUIRRELVM v, SQUnsignedInteger level, SQUnsignedInteger idx) {
  const CallFrame* f = frameAt(v, static_cast<SQInteger>(level));
  if (!f || !f->closure) return nullptr;
  SQClosure* c = f->closure;
  SQFunctionProto* p = c->proto;
  if (idx < c->outers.size()) {
    apiPush(v, *c->outers[idx]->valuePtr);
    return p->outers[idx].name->chars();
  }
  idx -= c->outers.size();
  const size_t pc = f->pc ? static_cast<size_t>(f->pc - p->code.data()) : 0;
  for (const SQFunctionProto::LocalInfo& l : p->locals) {
    if (l.startPc <= pc && pc <= l.endPc && l.name->chars()[0] != '@') {
      if (idx == 0) {
        apiPush(v, v->stack[f->base + l.reg]);
        return l.name->chars();
      }
      --idx;
    }
  }
  return nullptr;
}

}  // extern "C"
