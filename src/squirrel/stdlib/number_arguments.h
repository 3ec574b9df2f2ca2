// Numbers from the stack whatever their Squirrel type: an integer where a float is expected and
// the other way round, as the libraries' parameter masks ('n') allow both.
#pragma once

#include <vellum/squirrel.h>

namespace vellum::sqstd {

// Float to integer truncating toward zero; NaN gives 0 and values out of range the nearest limit
// (a plain cast would be undefined there).
inline SQInteger floatToInteger(double f) {
  constexpr double kLimit = 9223372036854775807.0;
  if (f != f) return 0;
  if (sizeof(SQInteger) == 8) {
    if (f >= kLimit) return static_cast<SQInteger>(0x7fffffffffffffffLL);
    if (f <= -kLimit) return static_cast<SQInteger>(-0x7fffffffffffffffLL - 1);
  } else {
    if (f >= 2147483647.0) return static_cast<SQInteger>(0x7fffffff);
    if (f <= -2147483648.0) return static_cast<SQInteger>(-0x7fffffff - 1);
  }
  return static_cast<SQInteger>(f);
}

inline SQInteger integerArgument(HSQUIRRELVM v, SQInteger index) {
  switch (sq_gettype(v, index)) {
    case OT_INTEGER: {
      SQInteger i = 0;
      sq_getinteger(v, index, &i);
      return i;
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(v, index, &f);
      return floatToInteger(f);
    }
    case OT_BOOL: {
      SQBool b = SQFalse;
      sq_getbool(v, index, &b);
      return b ? 1 : 0;
    }
    default: return 0;
  }
}

inline double floatArgument(HSQUIRRELVM v, SQInteger index) {
  switch (sq_gettype(v, index)) {
    case OT_INTEGER: {
      SQInteger i = 0;
      sq_getinteger(v, index, &i);
      return static_cast<double>(i);
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(v, index, &f);
      return static_cast<double>(f);
    }
    default: return 0;
  }
}

}  // namespace vellum::sqstd
