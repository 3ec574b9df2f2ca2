// The bytecode interpreter. Script-to-script calls run in the same loop (no C++ recursion);
// natives, metamethods, constructors and generators nest a new run. The value stack and the frame
// vector never move, so register and frame pointers stay valid across nested runs.
#include <algorithm>
#include <cstring>

#include "squirrel/sq_runtime.h"

namespace sqvm {

namespace {

void popFrame(SQVM* v) {
  CallFrame& f = v->frames.back();
  const size_t index = v->frames.size() - 1;
  while (!v->traps.empty() && v->traps.back().frameIndex >= index) v->traps.pop_back();
  closeOuters(v, f.base);
  if (f.generator) f.generator->state = SQGenerator::kDead;
  v->frames.pop_back();
}

bool budgetExhausted(SQVM* v) { return v->shared->instructionLimit && v->shared->instructionsLeft < 0; }

// Sends the error to a script handler of this run when there is one; false otherwise (the frames
// of this run are then gone).
bool handleException(SQVM* v, size_t entry, size_t trapBase) {
  if (!v->frames.empty()) v->top = std::max(v->top, v->frames.back().top);
  if ((v->traps.empty() || v->shared->notifyAllExceptions) && v->raiseError) reportError(v);
  if (v->traps.size() > trapBase && !budgetExhausted(v)) {
    const Trap t = v->traps.back();
    v->traps.pop_back();
    while (v->frames.size() - 1 > t.frameIndex) popFrame(v);
    CallFrame& f = v->frames.back();
    closeOuters(v, f.base + t.reg);
    f.pc = t.handler;
    v->stack[f.base + t.reg] = v->lastError;
    v->top = f.top;
    return true;
  }
  while (v->frames.size() > entry) popFrame(v);
  return false;
}

// One step of foreach over an object with _nexti: the key it gives and the value at that key;
// false when it gives null (the iteration is over).
bool stepWithNexti(SQVM* v, const Value& container, const Value& nexti, Value& iter, Value& key, Value& val) {
  const Value next = call(v, nexti, container, {iter});
  if (next._type == OT_NULL) return false;
  iter = next;
  key = next;
  Value out;
  if (!get(v, container, next, out)) missingIndex(v, next);
  val = out;
  return true;
}

inline Value rootOf(SQVM* v, SQClosure* c) { return c->root._type == OT_TABLE ? c->root : v->roottable; }

Value loop(SQVM* v) {
  SharedState& S = *v->shared;
  CallFrame* f = &v->frames.back();
  SQClosure* cl = f->closure;
  const Value* K = cl->proto->constants.data();
  Value* R = v->stack + f->base;
  const Instr* pc = f->pc;

#define RK(x) (((x) & kConstBit) ? K[(x) & 0x7FFF] : R[(x)])
#define SAVE() (f->pc = pc)
#define RELOAD()                               \
  do {                                         \
    f = &v->frames.back();                     \
    cl = f->closure;                           \
    K = cl->proto->constants.data();           \
    R = v->stack + f->base;                    \
    pc = f->pc;                                \
  } while (0)
#define COMPARE(OPNAME, EXPR)                                                          \
  case OPNAME: {                                                                       \
    const Value& a = RK(i.b);                                                          \
    const Value& b = RK(i.c);                                                          \
    if (a._type == OT_INTEGER && b._type == OT_INTEGER) {                              \
      const SQInteger x = a._unVal.nInteger, y = b._unVal.nInteger;                    \
      R[i.a] = boolValue(EXPR);                                                        \
    } else {                                                                           \
      SAVE();                                                                          \
      const int x = compare(v, a, b), y = 0;                                           \
      R[i.a] = boolValue(EXPR);                                                        \
    }                                                                                  \
    break;                                                                             \
  }

  for (;;) {
    const Instr i = *pc++;
    switch (i.op) {
      case OP_LOADK: R[i.a] = K[i.b]; break;
      case OP_LOADINT: R[i.a] = intValue(i.sbx()); break;
      case OP_LOADNULL:
        for (uint16_t k = 0; k < i.b; ++k) R[i.a + k] = nullValue();
        break;
      case OP_LOADBOOL: R[i.a] = boolValue(i.b != 0); break;
      case OP_MOVE: R[i.a] = R[i.b]; break;
      case OP_LOADROOT: R[i.a] = rootOf(v, cl); break;
      case OP_LOADCONSTTABLE: R[i.a] = S.consttable; break;
      case OP_LOADBASE: R[i.a] = cl->base ? objectValue(OT_CLASS, cl->base) : nullValue(); break;
      case OP_LOADCALLEE: R[i.a] = objectValue(OT_CLOSURE, cl); break;
      case OP_GETOUTER: R[i.a] = *cl->outers[i.b]->valuePtr; break;
      case OP_SETOUTER: *cl->outers[i.a]->valuePtr = R[i.b]; break;
      case OP_GET: {
        const Value& obj = R[i.b];
        const Value key = RK(i.c);
        if (obj._type == OT_TABLE) {
          if (Value* slot = obj._unVal.pTable->find(key)) {
            R[i.a] = *slot;
            break;
          }
        } else if (obj._type == OT_ARRAY && key._type == OT_INTEGER) {
          SQArray* arr = obj._unVal.pArray;
          if (key._unVal.nInteger >= 0 && static_cast<size_t>(key._unVal.nInteger) < arr->items.size()) {
            R[i.a] = arr->items[static_cast<size_t>(key._unVal.nInteger)];
            break;
          }
        }
        SAVE();
        Value out;
        if (!get(v, obj, key, out)) missingIndex(v, key);
        R[i.a] = out;
        break;
      }
      case OP_SET: {
        const Value& obj = R[i.a];
        const Value key = RK(i.b);
        const Value val = RK(i.c);
        if (obj._type == OT_TABLE) {
          if (Value* slot = obj._unVal.pTable->find(key)) {
            *slot = val;
            break;
          }
        } else if (obj._type == OT_ARRAY && key._type == OT_INTEGER) {
          SQArray* arr = obj._unVal.pArray;
          if (key._unVal.nInteger >= 0 && static_cast<size_t>(key._unVal.nInteger) < arr->items.size()) {
            arr->items[static_cast<size_t>(key._unVal.nInteger)] = val;
            break;
          }
        }
        SAVE();
        set(v, obj, key, val);
        break;
      }
      case OP_GETTHIS: {
        const Value& self = R[0];
        const Value& key = K[i.b];
        if (self._type == OT_TABLE) {
          if (Value* slot = self._unVal.pTable->find(key)) {
            R[i.a] = *slot;
            break;
          }
        }
        SAVE();
        Value out;
        if (!get(v, self, key, out)) {
          const Value root = rootOf(v, cl);
          if (root._type != OT_TABLE || !root._unVal.pTable->get(key, out)) missingIndex(v, key);
        }
        R[i.a] = out;
        break;
      }
      case OP_SETTHIS: {
        const Value& self = R[0];
        const Value& key = K[i.a];
        const Value val = RK(i.b);
        if (self._type == OT_TABLE) {
          if (Value* slot = self._unVal.pTable->find(key)) {
            *slot = val;
            break;
          }
        }
        SAVE();
        Value meta;
        Value probe;
        if (!getMetamethod(v, self, MT_SET, meta) && !rawGet(v, self, key, probe)) {
          const Value root = rootOf(v, cl);
          if (root._type == OT_TABLE) {
            if (Value* slot = root._unVal.pTable->find(key)) {
              *slot = val;
              break;
            }
          }
        }
        set(v, self, key, val);
        break;
      }
      case OP_NEWSLOT: {
        const Value& obj = R[i.a];
        const Value key = RK(i.b);
        const Value val = RK(i.c);
        if (obj._type == OT_TABLE && !obj._unVal.pTable->delegate && key._type != OT_NULL) {
          obj._unVal.pTable->set(key, val);
          break;
        }
        SAVE();
        newSlot(v, obj, key, val, false);
        break;
      }
      case OP_DELETE: {
        SAVE();
        Value r = deleteSlot(v, R[i.b], RK(i.c));
        if (i.a != kNoReg) R[i.a] = r;
        break;
      }
      case OP_ADD: {
        const Value& a = RK(i.b);
        const Value& b = RK(i.c);
        if (a._type == OT_INTEGER && b._type == OT_INTEGER) {
          R[i.a] = intValue(static_cast<SQInteger>(static_cast<uint64_t>(a._unVal.nInteger) + static_cast<uint64_t>(b._unVal.nInteger)));
        } else if (a._type == OT_FLOAT && b._type == OT_FLOAT) {
          R[i.a] = floatValue(a._unVal.fFloat + b._unVal.fFloat);
        } else {
          SAVE();
          maybeCollect(S);
          R[i.a] = arith(v, OP_ADD, a, b);
        }
        break;
      }
      case OP_SUB: {
        const Value& a = RK(i.b);
        const Value& b = RK(i.c);
        if (a._type == OT_INTEGER && b._type == OT_INTEGER) {
          R[i.a] = intValue(static_cast<SQInteger>(static_cast<uint64_t>(a._unVal.nInteger) - static_cast<uint64_t>(b._unVal.nInteger)));
        } else {
          SAVE();
          R[i.a] = arith(v, OP_SUB, a, b);
        }
        break;
      }
      case OP_MUL: {
        const Value& a = RK(i.b);
        const Value& b = RK(i.c);
        if (a._type == OT_INTEGER && b._type == OT_INTEGER) {
          R[i.a] = intValue(static_cast<SQInteger>(static_cast<uint64_t>(a._unVal.nInteger) * static_cast<uint64_t>(b._unVal.nInteger)));
        } else {
          SAVE();
          R[i.a] = arith(v, OP_MUL, a, b);
        }
        break;
      }
      case OP_DIV:
      case OP_MOD:
        SAVE();
        R[i.a] = arith(v, i.op, RK(i.b), RK(i.c));
        break;
      case OP_BAND: case OP_BOR: case OP_BXOR: case OP_SHL: case OP_SHR: case OP_USHR:
        SAVE();
        R[i.a] = bitwise(v, i.op, RK(i.b), RK(i.c));
        break;
      case OP_EQ: R[i.a] = boolValue(equals(RK(i.b), RK(i.c))); break;
      case OP_NE: R[i.a] = boolValue(!equals(RK(i.b), RK(i.c))); break;
      COMPARE(OP_LT, x < y)
      COMPARE(OP_LE, x <= y)
      COMPARE(OP_GT, x > y)
      COMPARE(OP_GE, x >= y)
      case OP_CMP3: {
        SAVE();
        R[i.a] = intValue(compare(v, RK(i.b), RK(i.c)));
        break;
      }
      case OP_IN:
        SAVE();
        R[i.a] = boolValue(hasKey(v, R[i.c], RK(i.b)));
        break;
      case OP_INSTANCEOF:
        SAVE();
        if (R[i.c]._type != OT_CLASS) raiseMessage(v, "cannot apply instanceof between a " + std::string(typeName(R[i.b]._type)) + " and a " + typeName(R[i.c]._type));
        R[i.a] = boolValue(instanceOf(R[i.b], R[i.c]));
        break;
      case OP_UNM: SAVE(); R[i.a] = negate(v, R[i.b]); break;
      case OP_NOT: R[i.a] = boolValue(isFalse(R[i.b])); break;
      case OP_BNOT:
        if (R[i.b]._type != OT_INTEGER) {
          SAVE();
          raiseMessage(v, "attempt to perform a bitwise op on a " + std::string(typeName(R[i.b]._type)));
        }
        R[i.a] = intValue(~R[i.b]._unVal.nInteger);
        break;
      case OP_TYPEOF: SAVE(); R[i.a] = typeOf(v, R[i.b]); break;
      case OP_CLONE: SAVE(); R[i.a] = cloneValue(v, R[i.b]); break;
      case OP_JMP:
        if (i.sbx() < 0 && S.instructionLimit && --S.instructionsLeft < 0) {
          SAVE();
          raiseMessage(v, "instruction limit exceeded");
        }
        pc += i.sbx();
        break;
      case OP_JZ:
        if (isFalse(R[i.a])) pc += i.sbx();
        break;
      case OP_JNZ:
        if (!isFalse(R[i.a])) {
          if (i.sbx() < 0 && S.instructionLimit && --S.instructionsLeft < 0) {
            SAVE();
            raiseMessage(v, "instruction limit exceeded");
          }
          pc += i.sbx();
        }
        break;
      case OP_TAILCALL: {
        const Value fn = R[i.a];
        if (fn._type == OT_CLOSURE && !f->generator && !fn._unVal.pClosure->proto->generator &&
            (v->traps.empty() || v->traps.back().frameIndex < v->frames.size() - 1)) {
          SAVE();
          // The callee takes over this frame: its arguments move down to this frame's base.
          const int64_t base = f->base;
          const uint16_t target = f->target;
          const bool exit = f->exitOnReturn;
          closeOuters(v, base);
          std::memmove(v->stack + base, R + i.a + 1, sizeof(Value) * i.b);
          v->frames.pop_back();
          Value generator;
          enterClosure(v, fn._unVal.pClosure, base, i.b, target, exit, &generator);
          RELOAD();
          break;
        }
      }
        [[fallthrough]];
      case OP_CALL: {
        SAVE();
        const Value fn = R[i.a];
        const int64_t base = f->base + i.a + 1;
        if (fn._type == OT_CLOSURE) {
          // Fast path: exact argument count, nothing special about the callee, no budget or hook.
          SQClosure* c = fn._unVal.pClosure;
          SQFunctionProto* p = c->proto;
          if (i.b == p->nparams && !p->varargs && !p->generator && c->env._type == OT_NULL && !S.instructionLimit &&
              !S.debugHookSet() &&
              v->frames.size() < v->maxFrames && base + p->maxStack + kNativeStackReserve <= v->stackCapacity) {
            Value* args = v->stack + base;
            for (int k = p->nparams; k < p->maxStack; ++k) args[k] = nullValue();
            CallFrame& nf = v->frames.emplace_back();
            nf.closure = c;
            nf.pc = p->code.data();
            nf.base = base;
            nf.top = base + p->maxStack;
            nf.target = i.c;
            v->top = nf.top;
            f = &nf;
            cl = c;
            K = p->constants.data();
            R = args;
            pc = nf.pc;
            break;
          }
          Value generator;
          if (enterClosure(v, fn._unVal.pClosure, base, i.b, i.c, false, &generator)) {
            RELOAD();
          } else if (i.c != kNoReg) {
            R[i.c] = generator;
          }
          break;
        }
        maybeCollect(S);
        Value r;
        if (fn._type == OT_NATIVECLOSURE) {
          r = callNative(v, fn._unVal.pNativeClosure, base, i.b);
          v->top = f->top;
          if (v->suspendRequested) {
            v->suspendRequested = false;
            v->suspendTarget = i.c;
            v->state = SQ_VMSTATE_SUSPENDED;
            return r;
          }
        } else {
          r = callAt(v, f->base + i.a, i.b);
          v->top = f->top;
        }
        if (i.c != kNoReg) R[i.c] = r;
        break;
      }
      case OP_RETURN: {
        if (S.debugHookSet()) {
          SAVE();
          debugHookEvent(v, 'r', cl->proto, cl->proto->lineAt(static_cast<size_t>(pc - 1 - cl->proto->code.data())));
        }
        const Value r = i.b ? R[i.a] : nullValue();
        const bool exit = f->exitOnReturn;
        const uint16_t target = f->target;
        if ((v->traps.empty() || v->traps.back().frameIndex < v->frames.size() - 1) &&
            (!v->openOuters || v->openOuters->stackIndex < f->base) && !f->generator) {
          v->frames.pop_back();
        } else {
          popFrame(v);
        }
        if (exit) return r;
        RELOAD();
        v->top = f->top;
        if (target != kNoReg) R[target] = r;
        break;
      }
      case OP_NEWTABLE: {
        SAVE();
        maybeCollect(S);
        R[i.a] = objectValue(OT_TABLE, newTable(v, i.b));
        break;
      }
      case OP_NEWARRAY: {
        SAVE();
        maybeCollect(S);
        SQArray* arr = newArray(v);
        arr->items.reserve(i.b);
        R[i.a] = objectValue(OT_ARRAY, arr);
        break;
      }
      case OP_APPEND: R[i.a]._unVal.pArray->items.push_back(RK(i.b)); break;
      case OP_CLOSURE: {
        SAVE();
        maybeCollect(S);
        SQFunctionProto* p = cl->proto->children[i.b];
        SQClosure* c = S.make<SQClosure>();
        c->proto = p;
        c->root = cl->root;
        c->outers.reserve(p->outers.size());
        for (const SQFunctionProto::OuterInfo& o : p->outers)
          c->outers.push_back(o.fromParentLocal ? captureOuter(v, f->base + o.index) : cl->outers[o.index]);
        c->defaults.assign(R + i.c, R + i.c + p->ndefaults);
        R[i.a] = objectValue(OT_CLOSURE, c);
        break;
      }
      case OP_BINDENV: {
        SAVE();
        const Value env = R[i.b];
        if (env._type != OT_TABLE && env._type != OT_INSTANCE && env._type != OT_CLASS)
          raiseMessage(v, "invalid environment for a function");
        SQClosure* src = R[i.a]._unVal.pClosure;
        SQClosure* c = S.make<SQClosure>();
        c->proto = src->proto;
        c->outers = src->outers;
        c->defaults = src->defaults;
        c->root = src->root;
        c->base = src->base;
        c->env = objectValue(OT_WEAKREF, weakRef(v, env));
        R[i.a] = objectValue(OT_CLOSURE, c);
        break;
      }
      case OP_NEWCLASS: {
        SAVE();
        SQClass* base = nullptr;
        if (i.b != kNoReg) {
          if (R[i.b]._type != OT_CLASS) raiseMessage(v, std::string("trying to inherit from a ") + typeName(R[i.b]._type));
          base = R[i.b]._unVal.pClass;
        }
        const Value attrs = i.c != kNoReg ? R[i.c] : nullValue();
        SQClass* cls = newClass(v, base, attrs);
        R[i.a] = objectValue(OT_CLASS, cls);
        if (base && base->metamethods[MT_INHERITED]._type != OT_NULL)
          call(v, base->metamethods[MT_INHERITED], R[i.a], {attrs});
        break;
      }
      case OP_NEWMEMBER:
      case OP_NEWSTATIC:
        SAVE();
        addMember(v, R[i.a]._unVal.pClass, RK(i.b), R[i.c], R[i.c + 1], i.op == OP_NEWSTATIC, false);
        break;
      case OP_FOREACH: {
        SAVE();
        Value& container = R[i.a];
        Value& iter = R[i.a + 1];
        Value& key = R[i.a + 2];
        Value& val = R[i.a + 3];
        bool done = false;
        switch (container._type) {
          case OT_ARRAY: {
            const SQInteger idx = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
            SQArray* arr = container._unVal.pArray;
            if (static_cast<size_t>(idx) >= arr->items.size()) {
              done = true;
            } else {
              key = intValue(idx);
              val = arr->items[static_cast<size_t>(idx)];
              iter = intValue(idx + 1);
            }
            break;
          }
          case OT_TABLE: {
            const int64_t pos = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
            const int64_t next = container._unVal.pTable->next(pos, key, val);
            if (next < 0) done = true;
            else iter = intValue(next);
            break;
          }
          case OT_STRING: {
            const SQInteger idx = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
            SQString* s = container._unVal.pString;
            if (idx >= s->length) {
              done = true;
            } else {
              key = intValue(idx);
              val = intValue(static_cast<signed char>(s->chars()[idx]));
              iter = intValue(idx + 1);
            }
            break;
          }
          case OT_CLASS:
          case OT_INSTANCE: {
            Value meta;
            if (container._type == OT_INSTANCE && getMetamethod(v, container, MT_NEXTI, meta)) {
              done = !stepWithNexti(v, container, meta, iter, key, val);
              break;
            }
            SQClass* cls = container._type == OT_CLASS ? container._unVal.pClass : container._unVal.pInstance->cls;
            const int64_t pos = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
            Value ref;
            const int64_t next = cls->members->next(pos, key, ref);
            if (next < 0) {
              done = true;
            } else {
              iter = intValue(next);
              if (memberKind(ref) == kField)
                val = container._type == OT_INSTANCE ? container._unVal.pInstance->fields[memberIndex(ref)]
                                                     : cls->fields[memberIndex(ref)].value;
              else
                val = cls->methods[memberIndex(ref)].value;
            }
            break;
          }
          case OT_USERDATA: {
            Value meta;
            if (!getMetamethod(v, container, MT_NEXTI, meta)) raiseMessage(v, "cannot iterate userdata");
            done = !stepWithNexti(v, container, meta, iter, key, val);
            break;
          }
          case OT_GENERATOR: {
            SQGenerator* g = container._unVal.pGenerator;
            if (g->state == SQGenerator::kDead) {
              done = true;
              break;
            }
            const SQInteger idx = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
            Value r = resumeGenerator(v, g);
            v->top = f->top;
            if (g->state == SQGenerator::kDead) {
              done = true;
            } else {
              key = intValue(idx);
              val = r;
              iter = intValue(idx + 1);
            }
            break;
          }
          default: raiseMessage(v, std::string("cannot iterate ") + typeName(container._type));
        }
        if (done) pc += i.sbx();
        else if (S.instructionLimit && --S.instructionsLeft < 0) raiseMessage(v, "instruction limit exceeded");
        break;
      }
      case OP_PUSHTRAP:
        v->traps.push_back({v->frames.size() - 1, pc + i.sbx(), f->top, i.a});
        break;
      case OP_POPTRAP:
        for (uint16_t k = 0; k < i.a && !v->traps.empty(); ++k) v->traps.pop_back();
        break;
      case OP_THROW:
        SAVE();
        raise(v, R[i.a]);
      case OP_YIELD: {
        SAVE();
        SQGenerator* g = f->generator;
        if (!g) raiseMessage(v, "yield outside a generator");
        const Value r = i.b ? R[i.a] : nullValue();
        closeOuters(v, f->base);
        SQFunctionProto* p = cl->proto;
        g->pc = static_cast<uint32_t>(pc - p->code.data());
        g->registers.assign(R, R + p->maxStack);
        const size_t index = v->frames.size() - 1;
        size_t firstTrap = v->traps.size();
        while (firstTrap > 0 && v->traps[firstTrap - 1].frameIndex == index) --firstTrap;
        for (size_t t = firstTrap; t < v->traps.size(); ++t) {
          const Trap& trap = v->traps[t];
          g->traps.push_back({static_cast<uint32_t>(trap.handler - p->code.data()), trap.stackTop - f->base, trap.reg});
        }
        v->traps.resize(firstTrap);
        g->state = SQGenerator::kSuspended;
        v->frames.pop_back();
        return r;
      }
      case OP_RESUME: {
        SAVE();
        if (R[i.b]._type != OT_GENERATOR) raiseMessage(v, std::string("trying to resume a '") + typeName(R[i.b]._type) + "'");
        Value r = resumeGenerator(v, R[i.b]._unVal.pGenerator);
        v->top = f->top;
        R[i.a] = r;
        break;
      }
      case OP_CLOSE: closeOuters(v, f->base + i.a); break;
      case OP_LINE:
        if (S.debugHookSet()) {
          SAVE();
          debugHookEvent(v, 'l', cl->proto, i.sbx());
        }
        break;
      default:
        SAVE();
        raiseMessage(v, "invalid instruction");
    }
  }
#undef RK
#undef SAVE
#undef RELOAD
#undef COMPARE
}

}  // namespace

Value run(SQVM* v) { return run(v, v->frames.size() - 1, v->traps.size()); }

Value run(SQVM* v, size_t entry, size_t trapBase) {
  SharedState& S = *v->shared;
  if (S.nestedExecutions >= kMaxNestedExecutions) {
    popFrame(v);
    raiseMessage(v, "stack overflow (too many nested native calls)");
  }
  ++S.nestedExecutions;
  ++v->runDepth;
  struct Depth {
    SharedState& s;
    SQVM* vm;
    ~Depth() {
      --s.nestedExecutions;
      --vm->runDepth;
    }
  } depth{S, v};
  for (;;) {
    try {
      return loop(v);
    } catch (const ScriptThrow&) {
      if (!handleException(v, entry, trapBase)) throw;
    }
  }
}

}  // namespace sqvm
