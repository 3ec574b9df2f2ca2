#include "error_report.h"

#include <cinttypes>
#include <cstdio>

namespace vellum::sqtool {

namespace {

void describeValue(HSQUIRRELVM vm, const char* name) {
  std::FILE* out = stderr;
  switch (sq_gettype(vm, -1)) {
    case OT_NULL: std::fprintf(out, "[%s] NULL\n", name); break;
    case OT_INTEGER: {
      SQInteger i = 0;
      sq_getinteger(vm, -1, &i);
      std::fprintf(out, "[%s] %" PRId64 "\n", name, i);
      break;
    }
    case OT_FLOAT: {
      SQFloat f = 0;
      sq_getfloat(vm, -1, &f);
      std::fprintf(out, "[%s] %.14g\n", name, static_cast<double>(f));
      break;
    }
    case OT_STRING: {
      const SQChar* s = "";
      sq_getstring(vm, -1, &s);
      std::fprintf(out, "[%s] \"%s\"\n", name, s);
      break;
    }
    case OT_BOOL: {
      SQBool b = SQFalse;
      sq_getbool(vm, -1, &b);
      std::fprintf(out, "[%s] %s\n", name, b ? "true" : "false");
      break;
    }
    case OT_TABLE: std::fprintf(out, "[%s] TABLE\n", name); break;
    case OT_ARRAY: std::fprintf(out, "[%s] ARRAY\n", name); break;
    case OT_CLOSURE: std::fprintf(out, "[%s] CLOSURE\n", name); break;
    case OT_NATIVECLOSURE: std::fprintf(out, "[%s] NATIVECLOSURE\n", name); break;
    case OT_GENERATOR: std::fprintf(out, "[%s] GENERATOR\n", name); break;
    case OT_USERPOINTER: std::fprintf(out, "[%s] USERPOINTER\n", name); break;
    case OT_USERDATA: std::fprintf(out, "[%s] USERDATA\n", name); break;
    case OT_THREAD: std::fprintf(out, "[%s] THREAD\n", name); break;
    case OT_CLASS: std::fprintf(out, "[%s] CLASS\n", name); break;
    case OT_INSTANCE: std::fprintf(out, "[%s] INSTANCE\n", name); break;
    case OT_WEAKREF: std::fprintf(out, "[%s] WEAKREF\n", name); break;
    default: std::fprintf(out, "[%s] ?\n", name); break;
  }
}

SQInteger runtimeErrorHandler(HSQUIRRELVM vm) {
  const SQChar* message = "unknown";
  if (sq_gettop(vm) >= 2) {
    sq_tostring(vm, 2);
    sq_getstring(vm, -1, &message);
  }
  std::fprintf(stderr, "\nAN ERROR HAS OCCURRED [%s]\n", message);
  std::fprintf(stderr, "\nCALLSTACK\n");
  SQStackInfos si;
  for (SQInteger level = 1; sq_stackinfos(vm, level, &si) >= 0; ++level)
    std::fprintf(stderr, "*FUNCTION [%s()] %s line [%" PRId64 "]\n", si.funcname, si.source, si.line);
  std::fprintf(stderr, "\nLOCALS\n");
  for (SQInteger level = 1; sq_stackinfos(vm, level, &si) >= 0; ++level) {
    for (SQUnsignedInteger seq = 0;; ++seq) {
      const SQChar* name = sq_getlocal(vm, static_cast<SQUnsignedInteger>(level), seq);
      if (!name) break;
      describeValue(vm, name);
      sq_pop(vm, 1);
    }
  }
  return 0;
}

void compileErrorHandler(HSQUIRRELVM, const SQChar* desc, const SQChar* source, SQInteger line, SQInteger column) {
  std::fprintf(stderr, "%s line = (%" PRId64 ") column = (%" PRId64 ") : error %s\n", source, line, column, desc);
}

}  // namespace

void installErrorHandlers(HSQUIRRELVM vm) {
  sq_newclosure(vm, runtimeErrorHandler, 0);
  sq_setnativeclosurename(vm, -1, "errorhandler");
  sq_seterrorhandler(vm);
  sq_setcompilererrorhandler(vm, compileErrorHandler);
}

}  // namespace vellum::sqtool
