// Class creation, members and instances.
#include "squirrel/sq_runtime.h"

namespace sqvm {

namespace {

int metaIndex(SQVM* v, const Value& key) {
  if (key._type != OT_STRING || key._unVal.pString->length < 2 || key._unVal.pString->chars()[0] != '_') return -1;
  for (int i = 0; i < MT_COUNT; ++i)
    if (v->shared->metaNames[i] == key._unVal.pString) return i;
  return -1;
}

bool isFunction(const Value& v) { return v._type == OT_CLOSURE || v._type == OT_NATIVECLOSURE; }

}  // namespace

SQClass* newClass(SQVM* v, SQClass* base, const Value& attributes) {
  SQClass* cls = v->shared->make<SQClass>();
  cls->members = newTable(v);
  cls->attributes = attributes;
  if (base) {
    cls->base = base;
    cls->members->copyFrom(*base->members);
    cls->fields = base->fields;
    cls->methods = base->methods;
    for (int i = 0; i < MT_COUNT; ++i) cls->metamethods[i] = base->metamethods[i];
    cls->constructor = base->constructor;
    cls->typetag = base->typetag;
    cls->hook = base->hook;
  }
  return cls;
}

void addMember(SQVM* v, SQClass* cls, const Value& key, const Value& value, const Value& attributes, bool isStatic,
               bool raw) {
  if (key._type == OT_NULL) raiseMessage(v, "null cannot be used as index");
  if (!raw && cls->metamethods[MT_NEWMEMBER]._type != OT_NULL) {
    call(v, cls->metamethods[MT_NEWMEMBER], objectValue(OT_CLASS, cls), {key, value, attributes, boolValue(isStatic)});
    return;
  }
  if (value._type == OT_CLOSURE && !value._unVal.pClosure->base) value._unVal.pClosure->base = cls->base;
  Value ref;
  if (cls->members->get(key, ref)) {
    SQClass::Member& m = (memberKind(ref) == kField ? cls->fields : cls->methods)[memberIndex(ref)];
    m.value = value;
    if (attributes._type != OT_NULL) m.attributes = attributes;
  } else if (isStatic || isFunction(value)) {
    cls->methods.push_back({value, attributes});
    cls->members->set(key, memberRef(isStatic ? kStatic : kMethod, cls->methods.size() - 1));
  } else {
    if (cls->locked) raiseMessage(v, "class instances have already been created; cannot add the field '" + rawToString(key) + "'");
    cls->fields.push_back({value, attributes});
    cls->members->set(key, memberRef(kField, cls->fields.size() - 1));
  }
  const int mt = metaIndex(v, key);
  if (mt >= 0) cls->metamethods[mt] = value;
  if (key._type == OT_STRING && key._unVal.pString == v->shared->constructorName) cls->constructor = value;
}

SQInstance* newInstance(SQVM* v, SQClass* cls) {
  cls->locked = true;
  SQInstance* inst = v->shared->make<SQInstance>();
  inst->cls = cls;
  inst->fields.reserve(cls->fields.size());
  for (const SQClass::Member& m : cls->fields) inst->fields.push_back(m.value);
  inst->hook = cls->hook;
  return inst;
}

bool instanceOf(const Value& inst, const Value& cls) {
  if (inst._type != OT_INSTANCE || cls._type != OT_CLASS) return false;
  for (SQClass* c = inst._unVal.pInstance->cls; c; c = c->base)
    if (c == cls._unVal.pClass) return true;
  return false;
}

}  // namespace sqvm
