// The aux library: the default compiler and runtime error handlers and the call-stack dump, all
// written through the VM's error function (its print function when it has none).
#include <vellum/squirrel_std.h>

#include <cstdio>
#include <string>

#include "squirrel/stdlib/library_support.h"

namespace vellum::sqstd {

namespace {

SQPRINTFUNCTION errorOutput(HSQUIRRELVM v) {
  SQPRINTFUNCTION f = sq_geterrorfunc(v);
  return f ? f : sq_getprintfunc(v);
}

// One value of the locals dump, in a line of its own.
std::string describe(HSQUIRRELVM v, SQInteger index) {
  char number[64];
  switch (sq_gettype(v, index)) {
    case OT_NULL: return "NULL";
    case OT_INTEGER: {
      SQInteger i = 0;
      sq_getinteger(v, index, &i);
      std::snprintf(number, sizeof number, "%lld", static_cast<long long>(i));
      return number;
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(v, index, &f);
      std::snprintf(number, sizeof number, "%.14g", static_cast<double>(f));
      return number;
    }
    case OT_BOOL: {
      SQBool b = SQFalse;
      sq_getbool(v, index, &b);
      return b ? "true" : "false";
    }
    case OT_STRING: return "\"" + std::string(stringAt(v, index)) + "\"";
    case OT_TABLE: return "TABLE";
    case OT_ARRAY: return "ARRAY";
    case OT_CLOSURE: return "CLOSURE";
    case OT_NATIVECLOSURE: return "NATIVECLOSURE";
    case OT_GENERATOR: return "GENERATOR";
    case OT_USERPOINTER: return "USERPOINTER";
    case OT_USERDATA: return "USERDATA";
    case OT_THREAD: return "THREAD";
    case OT_CLASS: return "CLASS";
    case OT_INSTANCE: return "INSTANCE";
    case OT_WEAKREF: return "WEAKREF";
    default: return "?";
  }
}

// The dump from `first` up: each level's function, source and line, then each level's locals.
void printCallStackFrom(HSQUIRRELVM v, SQInteger first) {
  SQPRINTFUNCTION print = errorOutput(v);
  if (!print) return;
  print(v, "\nCALLSTACK\n");
  SQStackInfos info{};
  for (SQInteger level = first; SQ_SUCCEEDED(sq_stackinfos(v, level, &info)); ++level) {
    print(v, "*FUNCTION [%s()] %s line [%lld]\n", info.funcname ? info.funcname : "unknown",
          info.source ? info.source : "unknown", static_cast<long long>(info.line));
  }
  print(v, "\nLOCALS\n");
  for (SQInteger level = first; SQ_SUCCEEDED(sq_stackinfos(v, level, &info)); ++level) {
    for (SQUnsignedInteger seq = 0;; ++seq) {
      const SQChar* name = sq_getlocal(v, static_cast<SQUnsignedInteger>(level), seq);
      if (!name) break;
      const std::string text = describe(v, -1);
      sq_poptop(v);
      print(v, "[%s] %s\n", name, text.c_str());
    }
  }
}

// Called with the environment and the error object; level 0 is this handler itself.
SQInteger runtimeErrorHandler(HSQUIRRELVM v) {
  SQPRINTFUNCTION print = errorOutput(v);
  if (!print) return 0;
  if (sq_gettop(v) >= 2 && sq_gettype(v, 2) == OT_STRING) {
    const std::string message(stringAt(v, 2));
    print(v, "\nAN ERROR HAS OCCURRED [%s]\n", message.c_str());
  } else {
    print(v, "\nAN ERROR HAS OCCURRED [unknown]\n");
  }
  printCallStackFrom(v, 1);
  return 0;
}

void compilerErrorHandler(HSQUIRRELVM v, const SQChar* description, const SQChar* source, SQInteger line,
                          SQInteger column) {
  if (SQPRINTFUNCTION print = errorOutput(v)) {
    print(v, "%s line = (%lld) column = (%lld) : error %s\n", source ? source : "", static_cast<long long>(line),
          static_cast<long long>(column), description ? description : "");
  }
}

}  // namespace

}  // namespace vellum::sqstd

extern "C" void sqstd_seterrorhandlers(HSQUIRRELVM v) {
  using namespace vellum::sqstd;
  sq_setcompilererrorhandler(v, &compilerErrorHandler);
  sq_newclosure(v, &runtimeErrorHandler, 0);
  sq_setnativeclosurename(v, -1, "errorhandler");
  sq_seterrorhandler(v);
}

// Level 0 is the native function that called this; the dump starts with its caller.
extern "C" void sqstd_printcallstack(HSQUIRRELVM v) { vellum::sqstd::printCallStackFrom(v, 1); }
