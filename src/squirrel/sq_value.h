// Values of the Squirrel VM: the API's SQObject (a type code and a payload) used directly, so
// values cross the C API without conversion. Floats are stored with the rest of the payload zeroed,
// which lets raw equality compare the whole 64-bit payload.
#pragma once

#include <cstdint>
#include <cstring>

#include <vellum/squirrel.h>

using Value = SQObject;

namespace sqvm {

inline Value nullValue() {
  Value v;
  v._type = OT_NULL;
  v._unVal.raw = 0;
  return v;
}
inline Value intValue(SQInteger i) {
  Value v;
  v._type = OT_INTEGER;
  v._unVal.nInteger = i;
  return v;
}
inline Value floatValue(SQFloat f) {
  Value v;
  v._type = OT_FLOAT;
  v._unVal.raw = 0;
  v._unVal.fFloat = f;
  return v;
}
inline Value boolValue(bool b) {
  Value v;
  v._type = OT_BOOL;
  v._unVal.nInteger = b ? 1 : 0;
  return v;
}
inline Value userPointerValue(SQUserPointer p) {
  Value v;
  v._type = OT_USERPOINTER;
  v._unVal.raw = 0;
  v._unVal.pUserPointer = p;
  return v;
}
inline Value objectValue(SQObjectType type, void* object) {
  Value v;
  v._type = type;
  v._unVal.raw = 0;
  v._unVal.pRefCounted = static_cast<SQGCObject*>(object);
  return v;
}

inline bool isNull(const Value& v) { return v._type == OT_NULL; }
inline bool isNumeric(const Value& v) { return (v._type & SQOBJECT_NUMERIC) != 0; }
inline bool isObject(const Value& v) { return (v._type & SQOBJECT_REF_COUNTED) != 0; }
inline bool rawEqual(const Value& a, const Value& b) {
  return a._type == b._type && a._unVal.raw == b._unVal.raw;
}
inline bool isFalse(const Value& v) {
  return (v._type & SQOBJECT_CANBEFALSE) && (v._type == OT_FLOAT ? v._unVal.fFloat == 0.0f : v._unVal.raw == 0);
}
inline SQFloat toFloat(const Value& v) {
  return v._type == OT_INTEGER ? static_cast<SQFloat>(v._unVal.nInteger) : v._unVal.fFloat;
}
inline SQInteger toInteger(const Value& v) {
  return v._type == OT_FLOAT ? static_cast<SQInteger>(v._unVal.fFloat) : v._unVal.nInteger;
}

// The name `typeof` and the errors use for each type.
const char* typeName(SQObjectType type);

}  // namespace sqvm
