// C API: stack manipulation, pushing values and reading them back.
#include <cstring>

#include "squirrel/sq_api_support.h"

using namespace sqvm;

extern "C" {

void sq_push(HSQUIRRELVM v, SQInteger idx) {
  if (Value* p = valueAt(v, idx)) apiPush(v, *p);
}

void sq_pop(HSQUIRRELVM v, SQInteger n) { apiPop(v, n); }
void sq_poptop(HSQUIRRELVM v) { apiPop(v, 1); }

void sq_remove(HSQUIRRELVM v, SQInteger idx) {
  int64_t slot;
  if (!resolveIndex(v, idx, slot)) return;
  for (int64_t i = slot; i + 1 < v->top; ++i) v->stack[i] = v->stack[i + 1];
  --v->top;
}

SQInteger sq_gettop(HSQUIRRELVM v) { return v->top - v->stackBase; }

void sq_settop(HSQUIRRELVM v, SQInteger newtop) {
  if (newtop < 0) return;
  const int64_t target = v->stackBase + newtop;
  if (target > v->stackCapacity - 1) return;
  while (v->top < target) v->push(nullValue());
  v->top = target;
}

SQRESULT sq_reservestack(HSQUIRRELVM v, SQInteger nsize) {
  if (nsize < 0 || v->top + nsize > v->stackCapacity) return apiError(v, "stack overflow");
  return SQ_OK;
}

SQInteger sq_cmp(HSQUIRRELVM v) {
  Value* a = valueAt(v, -2);
  Value* b = valueAt(v, -1);
  if (!a || !b) return 0;
  int r = 0;
  guarded(v, [&] { r = compare(v, *a, *b); });
  return r;
}

void sq_pushnull(HSQUIRRELVM v) { apiPush(v, nullValue()); }
void sq_pushinteger(HSQUIRRELVM v, SQInteger n) { apiPush(v, intValue(n)); }
void sq_pushfloat(HSQUIRRELVM v, SQFloat f) { apiPush(v, floatValue(f)); }
void sq_pushbool(HSQUIRRELVM v, SQBool b) { apiPush(v, boolValue(b != 0)); }
void sq_pushuserpointer(HSQUIRRELVM v, SQUserPointer p) { apiPush(v, userPointerValue(p)); }

void sq_pushstring(HSQUIRRELVM v, const SQChar* s, SQInteger len) {
  if (!s) {
    apiPush(v, nullValue());
    return;
  }
  const size_t n = len < 0 ? std::strlen(s) : static_cast<size_t>(len);
  apiPush(v, v->shared->stringValue(std::string_view(s, n)));
}

SQObjectType sq_gettype(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) {
    apiError(v, "invalid stack index");
    return OT_NULL;
  }
  return p->_type;
}

SQRESULT sq_typeof(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  const Value target = *p;
  return guarded(v, [&] { apiPush(v, typeOf(v, target)); });
}

SQInteger sq_getsize(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return -1;
  switch (p->_type) {
    case OT_STRING: return p->_unVal.pString->length;
    case OT_TABLE: return p->_unVal.pTable->count;
    case OT_ARRAY: return static_cast<SQInteger>(p->_unVal.pArray->items.size());
    case OT_USERDATA: return p->_unVal.pUserData->size;
    case OT_INSTANCE: return 0;
    case OT_CLASS: return 0;
    default: apiError(v, "wrong type"); return -1;
  }
}

SQHash sq_gethash(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return 0;
  if (p->_type == OT_STRING) return p->_unVal.pString->hash;
  return static_cast<SQHash>(p->_unVal.raw);
}

void sq_tostring(HSQUIRRELVM v, SQInteger idx) {
  Value* p = valueAt(v, idx);
  if (!p) return;
  const Value target = *p;
  if (guarded(v, [&] { apiPush(v, objectValue(OT_STRING, toString(v, target))); }) < 0)
    apiPush(v, str(v, rawToString(target)));
}

void sq_tobool(HSQUIRRELVM v, SQInteger idx, SQBool* b) {
  Value* p = valueAt(v, idx);
  if (b) *b = p && !isFalse(*p) ? SQTrue : SQFalse;
}

SQRESULT sq_getstring(HSQUIRRELVM v, SQInteger idx, const SQChar** c) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_STRING) return apiError(v, "the value is not a string");
  if (c) *c = p->_unVal.pString->chars();
  return SQ_OK;
}

SQRESULT sq_getstringandsize(HSQUIRRELVM v, SQInteger idx, const SQChar** c, SQInteger* size) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_STRING) return apiError(v, "the value is not a string");
  if (c) *c = p->_unVal.pString->chars();
  if (size) *size = p->_unVal.pString->length;
  return SQ_OK;
}

SQRESULT sq_getinteger(HSQUIRRELVM v, SQInteger idx, SQInteger* i) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  if (p->_type == OT_INTEGER || p->_type == OT_FLOAT) {
    if (i) *i = toInteger(*p);
    return SQ_OK;
  }
  if (p->_type == OT_BOOL) {
    if (i) *i = p->_unVal.nInteger;
    return SQ_OK;
  }
  return apiError(v, "the value is not an integer");
}

SQRESULT sq_getfloat(HSQUIRRELVM v, SQInteger idx, SQFloat* f) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  if (p->_type == OT_INTEGER || p->_type == OT_FLOAT) {
    if (f) *f = toFloat(*p);
    return SQ_OK;
  }
  return apiError(v, "the value is not a float");
}

SQRESULT sq_getbool(HSQUIRRELVM v, SQInteger idx, SQBool* b) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_BOOL) return apiError(v, "the value is not a bool");
  if (b) *b = p->_unVal.nInteger ? SQTrue : SQFalse;
  return SQ_OK;
}

SQRESULT sq_getthread(HSQUIRRELVM v, SQInteger idx, HSQUIRRELVM* thread) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_THREAD) return apiError(v, "the value is not a thread");
  if (thread) *thread = p->_unVal.pThread;
  return SQ_OK;
}

SQRESULT sq_getuserpointer(HSQUIRRELVM v, SQInteger idx, SQUserPointer* up) {
  Value* p = valueAt(v, idx);
  if (!p || p->_type != OT_USERPOINTER) return apiError(v, "the value is not a userpointer");
  if (up) *up = p->_unVal.pUserPointer;
  return SQ_OK;
}

SQRESULT sq_getstackobj(HSQUIRRELVM v, SQInteger idx, HSQOBJECT* po) {
  Value* p = valueAt(v, idx);
  if (!p) return apiError(v, "invalid stack index");
  if (po) *po = *p;
  return SQ_OK;
}

void sq_pushobject(HSQUIRRELVM v, HSQOBJECT obj) {
  const uint32_t raw = _RAW_TYPE(static_cast<uint32_t>(obj._type));
  if (raw == 0 || (raw & (raw - 1)) != 0) obj = nullValue();  // not a valid type code
  apiPush(v, obj);
}

void sq_addref(HSQUIRRELVM v, HSQOBJECT* po) {
  if (po && isObject(*po)) ++v->shared->pinned[po->_unVal.pRefCounted];
}

SQBool sq_release(HSQUIRRELVM v, HSQOBJECT* po) {
  if (!po || !isObject(*po)) return SQTrue;
  auto it = v->shared->pinned.find(po->_unVal.pRefCounted);
  if (it == v->shared->pinned.end()) return SQTrue;
  if (--it->second == 0) {
    v->shared->pinned.erase(it);
    return SQTrue;
  }
  return SQFalse;
}

SQUnsignedInteger sq_getrefcount(HSQUIRRELVM v, HSQOBJECT* po) {
  if (!po || !isObject(*po)) return 0;
  auto it = v->shared->pinned.find(po->_unVal.pRefCounted);
  return it == v->shared->pinned.end() ? 0 : it->second;
}

void sq_resetobject(HSQOBJECT* po) {
  if (po) *po = nullValue();
}

const SQChar* sq_objtostring(const HSQOBJECT* o) {
  return o && o->_type == OT_STRING ? o->_unVal.pString->chars() : nullptr;
}
SQBool sq_objtobool(const HSQOBJECT* o) { return o && o->_type == OT_BOOL && o->_unVal.nInteger ? SQTrue : SQFalse; }
SQInteger sq_objtointeger(const HSQOBJECT* o) { return o && isNumeric(*o) ? toInteger(*o) : 0; }
SQFloat sq_objtofloat(const HSQOBJECT* o) { return o && isNumeric(*o) ? toFloat(*o) : 0.0f; }
SQUserPointer sq_objtouserpointer(const HSQOBJECT* o) {
  return o && o->_type == OT_USERPOINTER ? o->_unVal.pUserPointer : nullptr;
}

SQRESULT sq_getobjtypetag(const HSQOBJECT* o, SQUserPointer* typetag) {
  if (!o) return SQ_ERROR;
  switch (o->_type) {
    case OT_USERDATA: *typetag = o->_unVal.pUserData->typetag; return SQ_OK;
    case OT_CLASS: *typetag = o->_unVal.pClass->typetag; return SQ_OK;
    case OT_INSTANCE: *typetag = o->_unVal.pInstance->cls->typetag; return SQ_OK;
    default: return SQ_ERROR;
  }
}

}  // extern "C"
