// Getting, setting, creating and deleting slots, with delegation and metamethods.
#include <cmath>

#include "squirrel/sq_runtime.h"

namespace sqvm {

namespace {

SQString* metaName(SQVM* v, Meta mt) { return v->shared->metaNames[mt]; }

bool indexOf(const Value& key, SQInteger size, SQInteger& index) {
  if (key._type == OT_INTEGER) index = key._unVal.nInteger;
  else if (key._type == OT_FLOAT) index = static_cast<SQInteger>(key._unVal.fFloat);
  else return false;
  return index >= 0 && index < size;
}

// Calls _get or _set; a handler that throws null means "no such key".
bool tryMeta(SQVM* v, const Value& fn, const Value& self, std::initializer_list<Value> args, Value* out) {
  // The handler's "throw null" is caught here, so it must not reach the error handler.
  const bool raise = v->raiseError;
  v->raiseError = false;
  try {
    Value r = call(v, fn, self, args);
    if (out) *out = r;
    v->raiseError = raise;
    return true;
  } catch (const ScriptThrow&) {
    v->raiseError = raise;
    if (v->lastError._type == OT_NULL) return false;
    throw;
  }
}

bool classGet(SQClass* cls, const Value& key, Value& out) {
  Value ref;
  if (!cls->members->get(key, ref)) return false;
  out = memberKind(ref) == kField ? cls->fields[memberIndex(ref)].value : cls->methods[memberIndex(ref)].value;
  return true;
}

}  // namespace

Value rootTable(SQVM* v) {
  for (size_t i = v->frames.size(); i-- > 0;) {
    const CallFrame& f = v->frames[i];
    if (f.closure) {
      if (f.closure->root._type == OT_TABLE) return f.closure->root;
      break;
    }
  }
  return v->roottable;
}

[[noreturn]] void missingIndex(SQVM* v, const Value& key) {
  raiseMessage(v, "the index '" + rawToString(key) + "' does not exist");
}

SQTable* defaultDelegate(SQVM* v, const Value& obj) {
  SQTable* const* d = v->shared->delegates;
  switch (obj._type) {
    case OT_TABLE: return d[DD_TABLE];
    case OT_ARRAY: return d[DD_ARRAY];
    case OT_STRING: return d[DD_STRING];
    case OT_INTEGER: case OT_FLOAT: case OT_BOOL: return d[DD_NUMBER];
    case OT_CLOSURE: case OT_NATIVECLOSURE: return d[DD_CLOSURE];
    case OT_GENERATOR: return d[DD_GENERATOR];
    case OT_THREAD: return d[DD_THREAD];
    case OT_CLASS: return d[DD_CLASS];
    case OT_INSTANCE: return d[DD_INSTANCE];
    case OT_WEAKREF: return d[DD_WEAKREF];
    default: return nullptr;
  }
}

bool getMetamethod(SQVM* v, const Value& obj, Meta mt, Value& out) {
  switch (obj._type) {
    case OT_TABLE:
    case OT_USERDATA: {
      SQTable* t = obj._type == OT_TABLE ? obj._unVal.pTable->delegate : obj._unVal.pUserData->delegate;
      const Value name = objectValue(OT_STRING, metaName(v, mt));
      for (int guard = 0; t && guard < 1000; t = t->delegate, ++guard)
        if (t->get(name, out)) return true;
      return false;
    }
    case OT_INSTANCE:
      out = obj._unVal.pInstance->cls->metamethods[mt];
      return out._type != OT_NULL;
    default: return false;
  }
}

bool rawGet(SQVM*, const Value& obj, const Value& key, Value& out) {
  switch (obj._type) {
    case OT_TABLE: return obj._unVal.pTable->get(key, out);
    case OT_ARRAY: {
      SQArray* a = obj._unVal.pArray;
      SQInteger i;
      if (!indexOf(key, static_cast<SQInteger>(a->items.size()), i)) return false;
      out = a->items[static_cast<size_t>(i)];
      return true;
    }
    case OT_INSTANCE: {
      SQInstance* inst = obj._unVal.pInstance;
      Value ref;
      if (!inst->cls->members->get(key, ref)) return false;
      out = memberKind(ref) == kField ? inst->fields[memberIndex(ref)] : inst->cls->methods[memberIndex(ref)].value;
      return true;
    }
    case OT_CLASS: return classGet(obj._unVal.pClass, key, out);
    default: return false;
  }
}

bool get(SQVM* v, const Value& obj, const Value& key, Value& out) {
  switch (obj._type) {
    case OT_TABLE: {
      SQTable* t = obj._unVal.pTable;
      if (t->get(key, out)) return true;
      int guard = 0;
      for (SQTable* d = t->delegate; d && guard < 1000; d = d->delegate, ++guard)
        if (d->get(key, out)) return true;
      Value meta;
      if (getMetamethod(v, obj, MT_GET, meta) && tryMeta(v, meta, obj, {key}, &out)) return true;
      break;
    }
    case OT_ARRAY: {
      SQArray* a = obj._unVal.pArray;
      if (key._type == OT_INTEGER || key._type == OT_FLOAT) {
        SQInteger i;
        if (!indexOf(key, static_cast<SQInteger>(a->items.size()), i)) return false;
        out = a->items[static_cast<size_t>(i)];
        return true;
      }
      break;
    }
    case OT_STRING: {
      SQString* s = obj._unVal.pString;
      if (key._type == OT_INTEGER || key._type == OT_FLOAT) {
        SQInteger i;
        if (!indexOf(key, s->length, i)) return false;
        out = intValue(static_cast<signed char>(s->chars()[i]));
        return true;
      }
      break;
    }
    case OT_INSTANCE: {
      if (rawGet(v, obj, key, out)) return true;
      Value meta;
      if (getMetamethod(v, obj, MT_GET, meta) && tryMeta(v, meta, obj, {key}, &out)) return true;
      break;
    }
    case OT_CLASS:
      if (classGet(obj._unVal.pClass, key, out)) return true;
      break;
    case OT_USERDATA: {
      SQTable* d = obj._unVal.pUserData->delegate;
      int guard = 0;
      for (; d && guard < 1000; d = d->delegate, ++guard)
        if (d->get(key, out)) return true;
      Value meta;
      if (getMetamethod(v, obj, MT_GET, meta) && tryMeta(v, meta, obj, {key}, &out)) return true;
      return false;
    }
    default: break;
  }
  if (SQTable* d = defaultDelegate(v, obj)) return d->get(key, out);
  return false;
}

bool rawSet(SQVM*, const Value& obj, const Value& key, const Value& value) {
  switch (obj._type) {
    case OT_TABLE:
      if (key._type == OT_NULL) return false;
      obj._unVal.pTable->set(key, value);
      return true;
    case OT_ARRAY: {
      SQArray* a = obj._unVal.pArray;
      SQInteger i;
      if (!indexOf(key, static_cast<SQInteger>(a->items.size()), i)) return false;
      a->items[static_cast<size_t>(i)] = value;
      return true;
    }
    case OT_INSTANCE: {
      SQInstance* inst = obj._unVal.pInstance;
      Value ref;
      if (!inst->cls->members->get(key, ref) || memberKind(ref) != kField) return false;
      inst->fields[memberIndex(ref)] = value;
      return true;
    }
    case OT_CLASS: {
      SQClass* cls = obj._unVal.pClass;
      Value ref;
      if (!cls->members->get(key, ref)) return false;
      (memberKind(ref) == kField ? cls->fields : cls->methods)[memberIndex(ref)].value = value;
      return true;
    }
    default: return false;
  }
}

namespace {

// A key that exists only in the delegate chain is written where it is found; _set runs only for
// keys found nowhere.
bool setInDelegates(SQTable* delegate, const Value& key, const Value& value) {
  int guard = 0;
  for (SQTable* d = delegate; d && guard < 1000; d = d->delegate, ++guard) {
    if (Value* slot = d->find(key)) {
      *slot = value;
      return true;
    }
  }
  return false;
}

}  // namespace

void set(SQVM* v, const Value& obj, const Value& key, const Value& value) {
  switch (obj._type) {
    case OT_TABLE: {
      if (Value* slot = obj._unVal.pTable->find(key)) {
        *slot = value;
        return;
      }
      if (setInDelegates(obj._unVal.pTable->delegate, key, value)) return;
      Value meta;
      if (getMetamethod(v, obj, MT_SET, meta) && tryMeta(v, meta, obj, {key, value}, nullptr)) return;
      missingIndex(v, key);
    }
    case OT_ARRAY: {
      if (key._type != OT_INTEGER && key._type != OT_FLOAT) raiseMessage(v, "indexing array with " + printable(key));
      if (!rawSet(v, obj, key, value)) missingIndex(v, key);
      return;
    }
    case OT_INSTANCE: {
      SQInstance* inst = obj._unVal.pInstance;
      Value ref;
      if (inst->cls->members->get(key, ref)) {
        if (memberKind(ref) != kField) raiseMessage(v, "cannot set the method or static member '" + rawToString(key) + "'");
        inst->fields[memberIndex(ref)] = value;
        return;
      }
      Value meta;
      if (getMetamethod(v, obj, MT_SET, meta) && tryMeta(v, meta, obj, {key, value}, nullptr)) return;
      missingIndex(v, key);
    }
    case OT_CLASS:
      if (!rawSet(v, obj, key, value)) missingIndex(v, key);
      return;
    case OT_USERDATA: {
      if (setInDelegates(obj._unVal.pUserData->delegate, key, value)) return;
      Value meta;
      if (getMetamethod(v, obj, MT_SET, meta) && tryMeta(v, meta, obj, {key, value}, nullptr)) return;
      missingIndex(v, key);
    }
    default: raiseMessage(v, "trying to set '" + std::string(typeName(obj._type)) + "'");
  }
}

void newSlot(SQVM* v, const Value& obj, const Value& key, const Value& value, bool isStatic) {
  if (key._type == OT_NULL) raiseMessage(v, "null cannot be used as index");
  switch (obj._type) {
    case OT_TABLE: {
      SQTable* t = obj._unVal.pTable;
      if (Value* slot = t->find(key)) {
        *slot = value;
        return;
      }
      Value meta;
      if (getMetamethod(v, obj, MT_NEWSLOT, meta)) {
        call(v, meta, obj, {key, value});
        return;
      }
      t->set(key, value);
      return;
    }
    case OT_CLASS: addMember(v, obj._unVal.pClass, key, value, nullValue(), isStatic, false); return;
    default: raiseMessage(v, "trying to create a slot in '" + std::string(typeName(obj._type)) + "'");
  }
}

Value deleteSlot(SQVM* v, const Value& obj, const Value& key) {
  switch (obj._type) {
    case OT_TABLE:
    case OT_USERDATA: {
      Value meta;
      if (getMetamethod(v, obj, MT_DELSLOT, meta)) return call(v, meta, obj, {key});
      if (obj._type == OT_USERDATA) break;
      Value old;
      if (!obj._unVal.pTable->remove(key, &old)) missingIndex(v, key);
      return old;
    }
    case OT_INSTANCE: raiseMessage(v, "cannot delete a slot from an instance");
    case OT_CLASS: raiseMessage(v, "cannot delete a slot from a class");
    default: break;
  }
  raiseMessage(v, "trying to delete a slot from '" + std::string(typeName(obj._type)) + "'");
}

bool hasKey(SQVM* v, const Value& obj, const Value& key) {
  Value out;
  switch (obj._type) {
    case OT_TABLE: {
      if (obj._unVal.pTable->find(key)) return true;
      int guard = 0;
      for (SQTable* d = obj._unVal.pTable->delegate; d && guard < 1000; d = d->delegate, ++guard)
        if (d->find(key)) return true;
      return false;
    }
    case OT_ARRAY:
    case OT_INSTANCE:
    case OT_CLASS: return rawGet(v, obj, key, out);
    case OT_STRING: return get(v, obj, key, out);
    case OT_USERDATA: return get(v, obj, key, out);
    default: raiseMessage(v, "the 'in' operator cannot be used on '" + std::string(typeName(obj._type)) + "'");
  }
}

}  // namespace sqvm
