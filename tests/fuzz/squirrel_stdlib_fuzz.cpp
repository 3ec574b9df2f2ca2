// Any bytes as a Squirrel regexp pattern (up to the first LF) and a subject (the rest): compiled,
// searched from every position, matched and captured; then the same two texts as a format string
// and its string argument for format(). Errors are Squirrel errors, never a crash, an
// out-of-bounds access or a hang.
#include <cstdint>
#include <string>
#include <string_view>

#include <vellum/squirrel_std.h>

#include "squirrel/standard_libraries.h"

namespace {

void quiet(HSQUIRRELVM, const SQChar*, ...) {}

void searchEverywhere(std::string_view pattern, std::string_view subject) {
  if (pattern.find('\0') != std::string_view::npos) return;
  const SQChar* error = nullptr;
  SQRex* exp = sqstd_rex_compile(std::string(pattern).c_str(), &error);
  if (!exp) return;
  const SQChar* end = subject.data() + subject.size();
  for (const SQChar* from = subject.data(); from <= end; ++from) {
    const SQChar* begin = nullptr;
    const SQChar* stop = nullptr;
    if (!sqstd_rex_searchrange(exp, from, end, &begin, &stop)) break;
    for (SQInteger n = 0; n < sqstd_rex_getsubexpcount(exp); ++n) {
      SQRexMatch group{};
      sqstd_rex_getsubexp(exp, n, &group);
    }
  }
  sqstd_rex_free(exp);
}

void format(std::string_view pattern, std::string_view subject) {
  HSQUIRRELVM v = sq_open(64);
  sq_setprintfunc(v, &quiet, &quiet);
  vellum::registerSquirrelStandardLibraries(v);
  sq_pushstring(v, pattern.data(), static_cast<SQInteger>(pattern.size()));
  sq_pushstring(v, subject.data(), static_cast<SQInteger>(subject.size()));
  sq_pushinteger(v, static_cast<SQInteger>(subject.size()) * 977);
  sq_pushfloat(v, static_cast<SQFloat>(subject.size()) / 7.0f);
  SQInteger length = 0;
  SQChar* out = nullptr;
  sqstd_format(v, 1, &length, &out);
  sq_close(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\n');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view subject = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  searchEverywhere(pattern, subject);
  format(pattern, subject);
  return 0;
}
