// vellum-sq: runs a Squirrel script with the base library and the standard libraries.
//   vellum-sq FILE.nut [ARG ...]   the ARGs reach the script as strings in vargv
// Exit status 0 on success, 1 on a compile or runtime error, 2 when the file cannot be read.
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <vellum/squirrel.h>

#include "error_report.h"
#include "squirrel/standard_libraries.h"

namespace {

void printToStdout(HSQUIRRELVM, const SQChar* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
}

void printToStderr(HSQUIRRELVM, const SQChar* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vellum-sq FILE.nut [ARG ...]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vellum-sq: cannot read %s\n", argv[1]);
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  const std::string source = text.str();

  HSQUIRRELVM vm = sq_open(1024);
  sq_setprintfunc(vm, printToStdout, printToStderr);
  vellum::sqtool::installErrorHandlers(vm);
  vellum::registerSquirrelStandardLibraries(vm);

  int status = 0;
  if (sq_compilebuffer(vm, source.data(), static_cast<SQInteger>(source.size()), argv[1], SQTrue) < 0) {
    status = 1;
  } else {
    sq_pushroottable(vm);
    for (int i = 2; i < argc; ++i) sq_pushstring(vm, argv[i], -1);
    if (sq_call(vm, argc - 1, SQFalse, SQTrue) < 0) status = 1;
    sq_pop(vm, 1);
  }
  std::fflush(stdout);
  sq_close(vm);
  return status;
}
