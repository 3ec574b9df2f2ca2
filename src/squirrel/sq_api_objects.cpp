// C API: creating and manipulating tables, arrays, closures, classes, instances and userdata.
#include <algorithm>
#include <new>

#include "squirrel/sq_api_support.h"

using namespace sqvm;

namespace {

// Pops n values (after checking they exist) into out, bottom first.
bool popValues(SQVM* v, int n, Value* out) {
  if (v->top - n < v->stackBase) return false;
  for (int i = 0; i < n; ++i) out[i] = v->stack[v->top - n + i];
  v->top -= n;
  return true;
}

}  // namespace

namespace sqvm {

bool parseTypeMask(const char* mask, std::vector<uint32_t>& out) {
  out.clear();
  bool orPending = false;
  for (const char* p = mask; *p; ++p) {
    uint32_t bit = 0;
    switch (*p) {
      case ' ': continue;
      case '|':
        if (out.empty()) return false;
        orPending = true;
        continue;
      case 'o': bit = _RT_NULL; break;
      case 'i': bit = _RT_INTEGER; break;
      case 'f': bit = _RT_FLOAT; break;
      case 'n': bit = _RT_INTEGER | _RT_FLOAT; break;
      case 's': bit = _RT_STRING; break;
      case 't': bit = _RT_TABLE; break;
      case 'a': bit = _RT_ARRAY; break;
      case 'u': bit = _RT_USERDATA; break;
      case 'c': bit = _RT_CLOSURE | _RT_NATIVECLOSURE; break;
      case 'g': bit = _RT_GENERATOR; break;
      case 'p': bit = _RT_USERPOINTER; break;
      case 'v': bit = _RT_THREAD; break;
      case 'x': bit = _RT_INSTANCE; break;
      case 'y': bit = _RT_CLASS; break;
      case 'b': bit = _RT_BOOL; break;
      case 'w': bit = _RT_WEAKREF; break;
      case '.': bit = 0xFFFFFFFFu; break;
      default: return false;
    }
    if (orPending) out.back() |= bit;
    else out.push_back(bit);
    orPending = false;
  }
  for (uint32_t& m : out)
    if (m == 0xFFFFFFFFu) m = 0;
  return true;
}

void registerNative(SQVM* v, SQTable* table, const char* name, SQFUNCTION fn, SQInteger nparams, const char* typemask) {
  SQNativeClosure* nc = v->shared->make<SQNativeClosure>();
  nc->function = fn;
  nc->name = str(v, name);
  nc->paramsCheck = nparams;
  if (typemask) {
    parseTypeMask(typemask, nc->typeMasks);
    if (nparams == SQ_MATCHTYPEMASKSTRING) nc->paramsCheck = static_cast<SQInteger>(nc->typeMasks.size());
  }
  table->set(str(v, name), objectValue(OT_NATIVECLOSURE, nc));
}

}  // namespace sqvm

extern "C" {

SQUserPointer sq_newuserdata(HSQUIRRELVM v, SQUnsignedInteger size) {
  if (size > (SQUnsignedInteger(1) << 40)) return nullptr;
  void* memory = ::operator new(SQUserData::headerSize() + static_cast<size_t>(size));
  SQUserData* ud = new (memory) SQUserData();
  ud->size = static_cast<SQInteger>(size);
  v->shared->link(ud);
  apiPush(v, objectValue(OT_USERDATA, ud));
  return ud->payload();
}

void sq_newtable(HSQUIRRELVM v) { apiPush(v, objectValue(OT_TABLE, newTable(v))); }

void sq_newtableex(HSQUIRRELVM v, SQInteger initialcapacity) {
  apiPush(v, objectValue(OT_TABLE, newTable(v, static_cast<uint32_t>(std::clamp<SQInteger>(initialcapacity, 0, 1 << 20)))));
}

void sq_newarray(HSQUIRRELVM v, SQInteger size) {
  SQArray* a = newArray(v);
  if (size > 0 && size <= kMaxArrayLength) a->items.assign(static_cast<size_t>(size), nullValue());
  apiPush(v, objectValue(OT_ARRAY, a));
}

void sq_newclosure(HSQUIRRELVM v, SQFUNCTION func, SQInteger nfreevars) {
  SQNativeClosure* nc = v->shared->make<SQNativeClosure>();
  nc->function = func;
  if (nfreevars > 0 && v->top - nfreevars >= v->stackBase) {
    nc->outers.assign(v->stack + v->top - nfreevars, v->stack + v->top);
    v->top -= nfreevars;
  }
  apiPush(v, objectValue(OT_NATIVECLOSURE, nc));
}

SQRESULT sq_setparamscheck(HSQUIRRELVM v, SQInteger nparamscheck, const SQChar* typemask) {
  Value* p = valueAt(v, -1);
  if (!p || p->_type != OT_NATIVECLOSURE) return apiError(v, "native closure expected");
  SQNativeClosure* nc = p->_unVal.pNativeClosure;
  nc->paramsCheck = nparamscheck;
  nc->typeMasks.clear();
  if (typemask) {
    if (!parseTypeMask(typemask, nc->typeMasks)) return apiError(v, "invalid typemask");
    if (nparamscheck == SQ_MATCHTYPEMASKSTRING) nc->paramsCheck = static_cast<SQInteger>(nc->typeMasks.size());
  } else if (nparamscheck == SQ_MATCHTYPEMASKSTRING) {
    nc->paramsCheck = 0;
  }
  return SQ_OK;
}

SQRESULT sq_bindenv(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || (p->_type != OT_CLOSURE && p->_type != OT_NATIVECLOSURE)) return apiError(v, "the target is not a closure");
  Value* e = valueAt(v, -1);
  if (!e || (e->_type != OT_TABLE && e->_type != OT_CLASS && e->_type != OT_INSTANCE))
    return apiError(v, "invalid environment");
  const Value env = objectValue(OT_WEAKREF, weakRef(v, *e));
  Value result;
  if (p->_type == OT_CLOSURE) {
    SQClosure* src = p->_unVal.pClosure;
    SQClosure* c = v->shared->make<SQClosure>();
    c->proto = src->proto;
    c->outers = src->outers;
    c->defaults = src->defaults;
    c->root = src->root;
    c->base = src->base;
    c->env = env;
    result = objectValue(OT_CLOSURE, c);
  } else {
    SQNativeClosure* src = p->_unVal.pNativeClosure;
    SQNativeClosure* c = v->shared->make<SQNativeClosure>();
    c->function = src->function;
    c->outers = src->outers;
    c->paramsCheck = src->paramsCheck;
    c->typeMasks = src->typeMasks;
    c->name = src->name;
    c->env = env;
    result = objectValue(OT_NATIVECLOSURE, c);
  }
  --v->top;
  apiPush(v, result);
  return SQ_OK;
}

SQRESULT sq_setclosureroot(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  Value* t = valueAt(v, -1);
  if (!p || p->_type != OT_CLOSURE || !t || t->_type != OT_TABLE) return apiError(v, "closure and table expected");
  p->_unVal.pClosure->root = *t;
  --v->top;
  return SQ_OK;
}

SQRESULT sq_getclosureroot(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLOSURE) return apiError(v, "closure expected");
  const Value r = p->_unVal.pClosure->root;
  apiPush(v, r._type == OT_TABLE ? r : v->roottable);
  return SQ_OK;
}

SQRESULT sq_settypetag(HSQUIRRELVM v, SQInteger idx, SQUserPointer typetag) {
  Value* p = valueAt(v, idx);
  if (p && p->_type == OT_USERDATA) p->_unVal.pUserData->typetag = typetag;
  else if (p && p->_type == OT_CLASS) p->_unVal.pClass->typetag = typetag;
  else return apiError(v, "invalid object type");
  return SQ_OK;
}

SQRESULT sq_gettypetag(HSQUIRRELVM v, SQInteger idx, SQUserPointer* typetag) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  SQUserPointer tag;
  if (sq_getobjtypetag(p, &tag) < 0) return apiError(v, "invalid object type");
  if (typetag) *typetag = tag;
  return SQ_OK;
}

SQRESULT sq_getuserdata(HSQUIRRELVM v, SQInteger idx, SQUserPointer* up, SQUserPointer* typetag) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_USERDATA) return apiError(v, "the value is not a userdata");
  if (up) *up = p->_unVal.pUserData->payload();
  if (typetag) *typetag = p->_unVal.pUserData->typetag;
  return SQ_OK;
}

void sq_setreleasehook(HSQUIRRELVM v, SQInteger idx, SQRELEASEHOOK hook) {
  Value* p = valueAt(v, idx);
  if (!p) return;
  if (p->_type == OT_USERDATA) p->_unVal.pUserData->hook = hook;
  else if (p->_type == OT_INSTANCE) p->_unVal.pInstance->hook = hook;
  else if (p->_type == OT_CLASS) p->_unVal.pClass->hook = hook;
}

SQRELEASEHOOK sq_getreleasehook(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return nullptr;
  if (p->_type == OT_USERDATA) return p->_unVal.pUserData->hook;
  if (p->_type == OT_INSTANCE) return p->_unVal.pInstance->hook;
  if (p->_type == OT_CLASS) return p->_unVal.pClass->hook;
  return nullptr;
}

SQRESULT sq_getclosureinfo(HSQUIRRELVM v, SQInteger idx, SQInteger* nparams, SQInteger* nfreevars) {
  Value* p = valueAt(v, idx);
  if (p && p->_type == OT_CLOSURE) {
    if (nparams) *nparams = p->_unVal.pClosure->proto->nparams;
    if (nfreevars) *nfreevars = static_cast<SQInteger>(p->_unVal.pClosure->outers.size());
    return SQ_OK;
  }
  if (p && p->_type == OT_NATIVECLOSURE) {
    if (nparams) *nparams = p->_unVal.pNativeClosure->paramsCheck;
    if (nfreevars) *nfreevars = static_cast<SQInteger>(p->_unVal.pNativeClosure->outers.size());
    return SQ_OK;
  }
  return apiError(v, "the object is not a closure");
}

SQRESULT sq_getclosurename(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (p && p->_type == OT_CLOSURE) {
    SQString* n = p->_unVal.pClosure->proto->name;
    apiPush(v, n ? objectValue(OT_STRING, n) : nullValue());
    return SQ_OK;
  }
  if (p && p->_type == OT_NATIVECLOSURE) {
    apiPush(v, p->_unVal.pNativeClosure->name);
    return SQ_OK;
  }
  return apiError(v, "the object is not a closure");
}

SQRESULT sq_setnativeclosurename(HSQUIRRELVM v, SQInteger idx, const SQChar* name) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_NATIVECLOSURE) return apiError(v, "the object is not a nativeclosure");
  p->_unVal.pNativeClosure->name = name ? str(v, name) : nullValue();
  return SQ_OK;
}

SQRESULT sq_setinstanceup(HSQUIRRELVM v, SQInteger idx, SQUserPointer up) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_INSTANCE) return apiError(v, "the object is not a class instance");
  p->_unVal.pInstance->up = up;
  return SQ_OK;
}

SQRESULT sq_getinstanceup(HSQUIRRELVM v, SQInteger idx, SQUserPointer* up, SQUserPointer typetag, SQBool throwerror) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_INSTANCE) {
    if (throwerror) apiError(v, "the object is not a class instance");
    return SQ_ERROR;
  }
  SQInstance* inst = p->_unVal.pInstance;
  if (typetag) {
    bool found = false;
    for (SQClass* c = inst->cls; c && !found; c = c->base) found = c->typetag == typetag;
    if (!found) {
      if (throwerror) apiError(v, "invalid type tag");
      return SQ_ERROR;
    }
  }
  if (up) *up = inst->up;
  return SQ_OK;
}

SQRESULT sq_newclass(HSQUIRRELVM v, SQBool hasbase) {
  SQClass* base = nullptr;
  if (hasbase) {
    Value* b = valueAt(v, -1);
    if (!b || b->_type != OT_CLASS) return apiError(v, "invalid base type");
    base = b->_unVal.pClass;
    --v->top;
    v->stack[v->top] = objectValue(OT_CLASS, base);  // still reachable while the class is built
  }
  SQClass* cls = newClass(v, base, nullValue());
  apiPush(v, objectValue(OT_CLASS, cls));
  return SQ_OK;
}

SQRESULT sq_createinstance(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLASS) return apiError(v, "the object is not a class");
  apiPush(v, objectValue(OT_INSTANCE, newInstance(v, p->_unVal.pClass)));
  return SQ_OK;
}

SQRESULT sq_setattributes(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLASS || v->top - 2 < v->stackBase) return apiError(v, "the object is not a class");
  SQClass* cls = p->_unVal.pClass;
  Value kv[2];
  popValues(v, 2, kv);
  if (kv[0]._type == OT_NULL) {
    const Value old = cls->attributes;
    cls->attributes = kv[1];
    apiPush(v, old);
    return SQ_OK;
  }
  Value ref;
  if (!cls->members->get(kv[0], ref)) return apiError(v, "wrong index");
  SQClass::Member& m = (memberKind(ref) == kField ? cls->fields : cls->methods)[memberIndex(ref)];
  const Value old = m.attributes;
  m.attributes = kv[1];
  apiPush(v, old);
  return SQ_OK;
}

SQRESULT sq_getattributes(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLASS || v->top - 1 < v->stackBase) return apiError(v, "the object is not a class");
  SQClass* cls = p->_unVal.pClass;
  Value key;
  popValues(v, 1, &key);
  if (key._type == OT_NULL) {
    apiPush(v, cls->attributes);
    return SQ_OK;
  }
  Value ref;
  if (!cls->members->get(key, ref)) return apiError(v, "wrong index");
  apiPush(v, (memberKind(ref) == kField ? cls->fields : cls->methods)[memberIndex(ref)].attributes);
  return SQ_OK;
}

SQRESULT sq_getclass(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_INSTANCE) return apiError(v, "the object is not a class instance");
  apiPush(v, objectValue(OT_CLASS, p->_unVal.pInstance->cls));
  return SQ_OK;
}

SQRESULT sq_getbase(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLASS) return apiError(v, "the object is not a class");
  SQClass* b = p->_unVal.pClass->base;
  apiPush(v, b ? objectValue(OT_CLASS, b) : nullValue());
  return SQ_OK;
}

SQBool sq_instanceof(HSQUIRRELVM v) {
  Value* inst = valueAt(v, -1);
  Value* cls = valueAt(v, -2);
  return inst && cls && instanceOf(*inst, *cls) ? SQTrue : SQFalse;
}

void sq_weakref(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return;
  const Value target = *p;
  if (!isObject(target) || target._type == OT_WEAKREF) {
    apiPush(v, target);
    return;
  }
  apiPush(v, objectValue(OT_WEAKREF, weakRef(v, target)));
}

SQRESULT sq_getweakrefval(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_WEAKREF) return apiError(v, "the object must be a weakref");
  apiPush(v, p->_unVal.pWeakRef->get());
  return SQ_OK;
}

SQRESULT sq_getdefaultdelegate(HSQUIRRELVM v, SQObjectType t) {
  Value probe = nullValue();
  probe._type = t;
  SQTable* d = defaultDelegate(v, probe);
  if (!d) return apiError(v, "the type doesn't have a default delegate");
  apiPush(v, objectValue(OT_TABLE, d));
  return SQ_OK;
}

SQRESULT sq_newslot(HSQUIRRELVM v, SQInteger idx, SQBool bstatic) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 2 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  if (target._type != OT_TABLE && target._type != OT_CLASS) return apiError(v, "the target is not a table or class");
  Value kv[2];
  popValues(v, 2, kv);
  v->push(kv[0]);
  v->push(kv[1]);
  const SQRESULT r = guarded(v, [&] { newSlot(v, target, kv[0], kv[1], bstatic != 0); });
  v->top -= 2;
  return r;
}

SQRESULT sq_deleteslot(HSQUIRRELVM v, SQInteger idx, SQBool pushval) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 1 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  if (target._type != OT_TABLE) return apiError(v, "the target is not a table");
  const Value key = v->stack[v->top - 1];
  Value old;
  const SQRESULT r = guarded(v, [&] {
    Value meta;
    if (getMetamethod(v, target, MT_DELSLOT, meta)) old = call(v, meta, target, {key});
    else if (!target._unVal.pTable->remove(key, &old)) old = nullValue();
  });
  --v->top;
  if (r >= 0 && pushval) apiPush(v, old);
  return r;
}

SQRESULT sq_set(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 2 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  const Value key = v->stack[v->top - 2], val = v->stack[v->top - 1];
  const SQRESULT r = guarded(v, [&] { set(v, target, key, val); });
  v->top -= 2;
  return r;
}

SQRESULT sq_get(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 1 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  const Value key = v->stack[v->top - 1];
  Value out;
  bool found = false;
  const SQRESULT r = guarded(v, [&] { found = get(v, target, key, out); });
  --v->top;
  if (r < 0) return r;
  if (!found) return apiError(v, "the index doesn't exist");
  apiPush(v, out);
  return SQ_OK;
}

SQRESULT sq_rawget(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 1 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  const Value key = v->stack[v->top - 1];
  --v->top;
  Value out;
  if (!rawGet(v, target, key, out)) return apiError(v, "the index doesn't exist");
  apiPush(v, out);
  return SQ_OK;
}

SQRESULT sq_rawset(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 2 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  Value kv[2];
  popValues(v, 2, kv);
  if (target._type == OT_CLASS) {
    v->push(kv[0]);
    v->push(kv[1]);
    const SQRESULT r = guarded(v, [&] { addMember(v, target._unVal.pClass, kv[0], kv[1], nullValue(), false, true); });
    v->top -= 2;
    return r;
  }
  if (!rawSet(v, target, kv[0], kv[1])) return apiError(v, "rawset failed");
  return SQ_OK;
}

SQRESULT sq_rawdeleteslot(HSQUIRRELVM v, SQInteger idx, SQBool pushval) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_TABLE || v->top - 1 < v->stackBase) return apiError(v, "the target is not a table");
  SQTable* t = p->_unVal.pTable;
  Value key;
  popValues(v, 1, &key);
  Value old = nullValue();
  t->remove(key, &old);
  if (pushval) apiPush(v, old);
  return SQ_OK;
}

static SQRESULT newMemberImpl(HSQUIRRELVM v, SQInteger idx, SQBool bstatic, bool raw) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_CLASS || v->top - 3 < v->stackBase) return apiError(v, "the target is not a class");
  const Value target = *p;
  const Value key = v->stack[v->top - 3], val = v->stack[v->top - 2], attrs = v->stack[v->top - 1];
  const SQRESULT r = guarded(v, [&] { addMember(v, target._unVal.pClass, key, val, attrs, bstatic != 0, raw); });
  v->top -= 3;
  return r;
}

SQRESULT sq_newmember(HSQUIRRELVM v, SQInteger idx, SQBool bstatic) { return newMemberImpl(v, idx, bstatic, false); }
SQRESULT sq_rawnewmember(HSQUIRRELVM v, SQInteger idx, SQBool bstatic) { return newMemberImpl(v, idx, bstatic, true); }

static SQArray* arrayAt(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  return p && p->_type == OT_ARRAY ? p->_unVal.pArray : nullptr;
}

SQRESULT sq_arrayappend(HSQUIRRELVM v, SQInteger idx) {
  SQArray* a = arrayAt(v, idx);
  if (!a || v->top - 1 < v->stackBase) return apiError(v, "the target is not an array");
  a->items.push_back(v->stack[--v->top]);
  return SQ_OK;
}

SQRESULT sq_arraypop(HSQUIRRELVM v, SQInteger idx) {
  SQArray* a = arrayAt(v, idx);
  if (!a) return apiError(v, "the target is not an array");
  if (a->items.empty()) return apiError(v, "empty array");
  a->items.pop_back();
  return SQ_OK;
}

SQRESULT sq_arrayresize(HSQUIRRELVM v, SQInteger idx, SQInteger newsize) {
  SQArray* a = arrayAt(v, idx);
  if (!a) return apiError(v, "the target is not an array");
  if (newsize < 0 || newsize > kMaxArrayLength) return apiError(v, "size out of range");
  a->items.resize(static_cast<size_t>(newsize), nullValue());
  return SQ_OK;
}

SQRESULT sq_arrayreverse(HSQUIRRELVM v, SQInteger idx) {
  SQArray* a = arrayAt(v, idx);
  if (!a) return apiError(v, "the target is not an array");
  std::reverse(a->items.begin(), a->items.end());
  return SQ_OK;
}

SQRESULT sq_arrayremove(HSQUIRRELVM v, SQInteger idx, SQInteger itemidx) {
  SQArray* a = arrayAt(v, idx);
  if (!a) return apiError(v, "the target is not an array");
  if (itemidx < 0 || static_cast<size_t>(itemidx) >= a->items.size()) return apiError(v, "index out of range");
  a->items.erase(a->items.begin() + itemidx);
  return SQ_OK;
}

SQRESULT sq_arrayinsert(HSQUIRRELVM v, SQInteger idx, SQInteger destpos) {
  SQArray* a = arrayAt(v, idx);
  if (!a || v->top - 1 < v->stackBase) return apiError(v, "the target is not an array");
  if (destpos < 0 || static_cast<size_t>(destpos) > a->items.size()) return apiError(v, "index out of range");
  a->items.insert(a->items.begin() + destpos, v->stack[--v->top]);
  return SQ_OK;
}

SQRESULT sq_setdelegate(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  Value* d = valueAt(v, -1);
  if (!p || !d) return apiError(v, "invalid stack index");
  if (d->_type != OT_TABLE && d->_type != OT_NULL) return apiError(v, "only tables can be delegates");
  SQTable* delegate = d->_type == OT_TABLE ? d->_unVal.pTable : nullptr;
  if (p->_type == OT_TABLE) {
    for (SQTable* t = delegate; t; t = t->delegate)
      if (t == p->_unVal.pTable) return apiError(v, "delegate cycle");
    p->_unVal.pTable->delegate = delegate;
  } else if (p->_type == OT_USERDATA) {
    p->_unVal.pUserData->delegate = delegate;
  } else {
    return apiError(v, "only tables and userdata can have delegates");
  }
  --v->top;
  return SQ_OK;
}

SQRESULT sq_getdelegate(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  SQTable* d = nullptr;
  if (p->_type == OT_TABLE) d = p->_unVal.pTable->delegate;
  else if (p->_type == OT_USERDATA) d = p->_unVal.pUserData->delegate;
  else return apiError(v, "wrong type");
  apiPush(v, d ? objectValue(OT_TABLE, d) : nullValue());
  return SQ_OK;
}

SQRESULT sq_clone(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  const Value target = *p;
  Value copy;
  const SQRESULT r = guarded(v, [&] { copy = cloneValue(v, target); });
  if (r >= 0) apiPush(v, copy);
  return r;
}

SQRESULT sq_setfreevariable(HSQUIRRELVM v, SQInteger idx, SQInteger nval) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 1 < v->stackBase) return apiError(v, "invalid stack index");
  const Value val = v->stack[v->top - 1];
  if (p->_type == OT_CLOSURE) {
    SQClosure* c = p->_unVal.pClosure;
    if (nval < 0 || static_cast<size_t>(nval) >= c->outers.size()) return apiError(v, "invalid free var index");
    *c->outers[static_cast<size_t>(nval)]->valuePtr = val;
  } else if (p->_type == OT_NATIVECLOSURE) {
    SQNativeClosure* c = p->_unVal.pNativeClosure;
    if (nval < 0 || static_cast<size_t>(nval) >= c->outers.size()) return apiError(v, "invalid free var index");
    c->outers[static_cast<size_t>(nval)] = val;
  } else {
    return apiError(v, "the object is not a closure");
  }
  --v->top;
  return SQ_OK;
}

const SQChar* sq_getfreevariable(HSQUIRRELVM v, SQInteger idx, SQInteger nval) {
  Value* p = valueAt(v, idx);
  if (!p) return nullptr;
  if (p->_type == OT_CLOSURE) {
    SQClosure* c = p->_unVal.pClosure;
    if (nval < 0 || static_cast<size_t>(nval) >= c->outers.size()) return nullptr;
    apiPush(v, *c->outers[static_cast<size_t>(nval)]->valuePtr);
    return c->proto->outers[static_cast<size_t>(nval)].name->chars();
  }
  if (p->_type == OT_NATIVECLOSURE) {
    SQNativeClosure* c = p->_unVal.pNativeClosure;
    if (nval < 0 || static_cast<size_t>(nval) >= c->outers.size()) return nullptr;
    apiPush(v, c->outers[static_cast<size_t>(nval)]);
    return "@NATIVE";
  }
  return nullptr;
}

SQRESULT sq_next(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p || v->top - 1 < v->stackBase) return apiError(v, "invalid stack index");
  const Value target = *p;
  Value& iter = v->stack[v->top - 1];
  const int64_t pos = iter._type == OT_INTEGER ? iter._unVal.nInteger : 0;
  Value key, val;
  int64_t next = -1;
  switch (target._type) {
    case OT_TABLE: next = target._unVal.pTable->next(pos, key, val); break;
    case OT_ARRAY:
      if (static_cast<size_t>(pos) < target._unVal.pArray->items.size()) {
        key = intValue(pos);
        val = target._unVal.pArray->items[static_cast<size_t>(pos)];
        next = pos + 1;
      }
      break;
    case OT_CLASS:
    case OT_INSTANCE: {
      SQClass* cls = target._type == OT_CLASS ? target._unVal.pClass : target._unVal.pInstance->cls;
      Value ref;
      next = cls->members->next(pos, key, ref);
      if (next >= 0) {
        if (memberKind(ref) == kField)
          val = target._type == OT_INSTANCE ? target._unVal.pInstance->fields[memberIndex(ref)]
                                            : cls->fields[memberIndex(ref)].value;
        else
          val = cls->methods[memberIndex(ref)].value;
      }
      break;
    }
    default: return apiError(v, "cannot iterate this type");
  }
  if (next < 0) return SQ_ERROR;
  iter = intValue(next);
  apiPush(v, key);
  apiPush(v, val);
  return SQ_OK;
}

SQRESULT sq_clear(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (p && p->_type == OT_TABLE) p->_unVal.pTable->clear();
  else if (p && p->_type == OT_ARRAY) p->_unVal.pArray->items.clear();
  else return apiError(v, "clear only works on table and array");
  return SQ_OK;
}

}  // extern "C"
