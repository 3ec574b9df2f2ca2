// Any bytes as a Squirrel script, compiled and run under an instruction budget: the run ends in a
// result or an error, never a crash, an out-of-bounds access, a leak or a hang.
#include <cstdint>
#include <string_view>

#include <vellum/squirrel.h>

namespace {

void discard(HSQUIRRELVM, const SQChar*, ...) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HSQUIRRELVM vm = sq_open(1024);
  sq_setprintfunc(vm, discard, discard);
  sq_setinstructionlimit(vm, 20000);
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  if (sq_compilebuffer(vm, source.data(), static_cast<SQInteger>(source.size()), "fuzz.nut", SQFalse) >= 0) {
    sq_pushroottable(vm);
    sq_call(vm, 1, SQFalse, SQFalse);
  }
  sq_close(vm);
  return 0;
}
