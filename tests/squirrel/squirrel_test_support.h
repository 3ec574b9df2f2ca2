// Runs Squirrel source in a fresh VM and collects what it prints.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <vellum/squirrel.h>

namespace vellum::test {

class SquirrelRun {
 public:
  SquirrelRun();
  ~SquirrelRun();
  SquirrelRun(const SquirrelRun&) = delete;
  SquirrelRun& operator=(const SquirrelRun&) = delete;

  HSQUIRRELVM vm() const { return vm_; }
  // Compiles and runs the script with the root table as this; compile and runtime errors are
  // appended to the output as "COMPILE ERROR: ..." or "ERROR: ...". Returns true on success.
  bool run(std::string_view source, const char* name = "test.nut");
  const std::string& output() const { return output_; }
  void appendOutput(const char* text) { output_ += text; }

 private:
  HSQUIRRELVM vm_;
  std::string output_;
};

namespace squirrel_detail {

inline void capture(HSQUIRRELVM vm, const SQChar* format, ...) {
  auto* run = static_cast<SquirrelRun*>(sq_getsharedforeignptr(vm));
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> buffer(static_cast<size_t>(n > 0 ? n : 0) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  run->appendOutput(buffer.data());
}

inline void compileError(HSQUIRRELVM vm, const SQChar* desc, const SQChar* source, SQInteger line, SQInteger column) {
  auto* run = static_cast<SquirrelRun*>(sq_getsharedforeignptr(vm));
  char text[512];
  std::snprintf(text, sizeof text, "COMPILE ERROR: %s:%lld:%lld: %s\n", source, static_cast<long long>(line),
                static_cast<long long>(column), desc);
  run->appendOutput(text);
}

}  // namespace squirrel_detail

inline SquirrelRun::SquirrelRun() : vm_(sq_open(1024)) {
  sq_setsharedforeignptr(vm_, this);
  sq_setprintfunc(vm_, squirrel_detail::capture, squirrel_detail::capture);
  sq_setcompilererrorhandler(vm_, squirrel_detail::compileError);
}

inline SquirrelRun::~SquirrelRun() { sq_close(vm_); }

inline bool SquirrelRun::run(std::string_view source, const char* name) {
  const SQInteger top = sq_gettop(vm_);
  if (sq_compilebuffer(vm_, source.data(), static_cast<SQInteger>(source.size()), name, SQTrue) < 0) return false;
  sq_pushroottable(vm_);
  const bool ok = sq_call(vm_, 1, SQFalse, SQTrue) >= 0;
  if (!ok) {
    sq_getlasterror(vm_);
    sq_tostring(vm_, -1);
    const SQChar* message = "?";
    sq_getstring(vm_, -1, &message);
    output_ += "ERROR: ";
    output_ += message;
    output_ += "\n";
  }
  sq_settop(vm_, top);
  return ok;
}

}  // namespace vellum::test
