// The Squirrel implementation of the argument accessor: argument i is stack slot i + 1 (slot 1 is
// `this`), results are pushed and arrays are Squirrel arrays.
#include "script/arg_accessor.h"
#include "commands/squirrel/squirrel_binding.h"
#include "base/engine_state.h"
#include "script/value.h"

namespace vellum {

namespace {

HSQUIRRELVM V(void* call) { return static_cast<HSQUIRRELVM>(call); }

SQInteger slot(int i) { return static_cast<SQInteger>(i) + 1; }

template <int K>
int count(void* call) {
  return static_cast<int>(sq_gettop(V(call))) - 1 + K;
}

int type(void* call, int i) { return static_cast<int>(sq_gettype(V(call), slot(i))); }
int always(void*, int) { return 1; }

// Integers as they are, floats truncated (as the native script's numbers are); bools are 0 or 1
// both as integers and as floats.
int64_t integerAt(void* call, int i) {
  HSQUIRRELVM v = V(call);
  switch (sq_gettype(v, slot(i))) {
    case OT_INTEGER: {
      SQInteger n = 0;
      sq_getinteger(v, slot(i), &n);
      return n;
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(v, slot(i), &f);
      return toInt64(static_cast<double>(f));
    }
    case OT_BOOL: {
      SQBool b = SQFalse;
      sq_getbool(v, slot(i), &b);
      return b ? 1 : 0;
    }
    default: return 0;
  }
}

double floatAt(void* call, int i) {
  HSQUIRRELVM v = V(call);
  switch (sq_gettype(v, slot(i))) {
    case OT_INTEGER: {
      SQInteger n = 0;
      sq_getinteger(v, slot(i), &n);
      return static_cast<double>(n);
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(v, slot(i), &f);
      return static_cast<double>(f);
    }
    case OT_BOOL: {
      SQBool b = SQFalse;
      sq_getbool(v, slot(i), &b);
      return b ? 1 : 0;
    }
    default: return 0;
  }
}

int32_t getInt(void* call, int i) { return static_cast<int32_t>(integerAt(call, i)); }
int64_t getInt64(void* call, int i) { return integerAt(call, i); }
float getFloat(void* call, int i) { return static_cast<float>(floatAt(call, i)); }
double getDouble(void* call, int i) { return floatAt(call, i); }

// A slot that holds no string reads as the empty string.
const char* getStringLength(void* call, int i, size_t* length) {
  HSQUIRRELVM v = V(call);
  const SQChar* text = nullptr;
  SQInteger size = 0;
  if (sq_gettype(v, slot(i)) != OT_STRING || SQ_FAILED(sq_getstringandsize(v, slot(i), &text, &size)) || !text) {
    text = "";
    size = 0;
  }
  if (length) *length = static_cast<size_t>(size);
  return text;
}

const char* getString(void* call, int i) { return getStringLength(call, i, nullptr); }
void discard(void*, int) {}
void returnInt(void* call, int, int32_t value) { sq_pushinteger(V(call), value); }
void returnString(void* call, int, const char* text) { sq_pushstring(V(call), text ? text : "", -1); }

void returnBytes(void* call, int, const char* bytes, size_t length) {
  sq_pushstring(V(call), bytes ? bytes : "", bytes ? static_cast<SQInteger>(length) : 0);
}

void returnNothing(void* call) { sq_pushnull(V(call)); }
void beginArray(void* call) { sq_newarray(V(call), 0); }
void appendToArray(void* call) { sq_arrayappend(V(call), -2); }
void setArrayElement(void* call, int) { appendToArray(call); }

void fail(void*) {
  engine().quitFlag = 1;
  closeSquirrelVM();  // deferred while the call runs
}

}  // namespace

void useSquirrel(HSQUIRRELVM vm) {
  ArgAccessor& a = args();
  a.count[0] = &count<0>;
  a.count[1] = &count<1>;
  a.count[2] = &count<2>;
  a.count[3] = &count<3>;
  a.count[4] = &count<4>;
  a.count[5] = &count<5>;
  a.count[6] = &count<6>;
  a.type = &type;
  a.canReceiveInt = &always;
  a.canReceiveString = &always;
  a.getInt = &getInt;
  a.getInt64 = &getInt64;
  a.getFloat = &getFloat;
  a.getDouble = &getDouble;
  a.getString = &getString;
  a.getStringLength = &getStringLength;
  a.discard = &discard;
  a.returnInt = &returnInt;
  a.returnString = &returnString;
  a.returnBytes = &returnBytes;
  a.returnNothing = &returnNothing;
  a.beginArray = &beginArray;
  a.setArrayElement = &setArrayElement;
  a.appendArrayElement = &appendToArray;
  a.fail = &fail;
  a.intType = static_cast<int>(OT_INTEGER);
  a.stringType = static_cast<int>(OT_STRING);
  a.vm = vm;
  a.binding = Binding::Squirrel;
}

}  // namespace vellum
