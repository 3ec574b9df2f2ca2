// The sqstd_rex_* functions: a compiled Squirrel pattern is a PCRE2 program of the translated
// pattern, matched byte-wise with '.' taking any byte and '$' only the very end.
#include <vellum/squirrel_std.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>
#include <new>
#include <string>

#include "squirrel/stdlib/regexp_engine.h"
#include "squirrel/stdlib/regexp_translation.h"

namespace {

// Scripts run on the engine's main thread; a runaway pattern fails instead of stalling the game.
constexpr uint32_t kMatchLimit = 2'000'000;
constexpr uint32_t kDepthLimit = 100'000;

}  // namespace

struct SQRex {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  pcre2_match_context* context = nullptr;
  SQInteger groups = 0;           // sub-expressions, the whole match included
  const SQChar* subject = nullptr;  // of the last successful match
  bool matched = false;

  ~SQRex() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
};

namespace {

// The error text lives as long as the thread's last compile failure.
thread_local std::string lastCompileError;

bool run(SQRex* exp, const SQChar* begin, const SQChar* end, uint32_t options) {
  if (!exp) return false;
  exp->matched = false;
  if (!begin || end < begin) return false;
  const int result = pcre2_match(exp->code, reinterpret_cast<PCRE2_SPTR>(begin), static_cast<PCRE2_SIZE>(end - begin),
                                 0, options, exp->data, exp->context);
  if (result < 0) return false;
  exp->subject = begin;
  exp->matched = true;
  return true;
}

}  // namespace

bool vellum::sqstd::rexMatchRange(SQRex* exp, const SQChar* begin, const SQChar* end) {
  return run(exp, begin, end, PCRE2_ANCHORED | PCRE2_ENDANCHORED);
}

extern "C" SQRex* sqstd_rex_compile(const SQChar* pattern, const SQChar** error) {
  std::string translated;
  int hiddenGroups = 0;
  if (!pattern || !vellum::sqstd::translateRegexp(pattern, translated, lastCompileError, &hiddenGroups)) {
    if (!pattern) lastCompileError = "no pattern";
    if (error) *error = lastCompileError.c_str();
    return nullptr;
  }
  auto* exp = new (std::nothrow) SQRex;
  if (!exp) {
    lastCompileError = "out of memory";
    if (error) *error = lastCompileError.c_str();
    return nullptr;
  }
  int code = 0;
  PCRE2_SIZE offset = 0;
  exp->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.data()), translated.size(),
                            PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP, &code, &offset,
                            nullptr);
  if (exp->code) {
    exp->data = pcre2_match_data_create_from_pattern(exp->code, nullptr);
    exp->context = pcre2_match_context_create(nullptr);
  }
  if (!exp->code || !exp->data || !exp->context) {
    PCRE2_UCHAR buffer[120];
    const int length = exp->code ? 0 : pcre2_get_error_message(code, buffer, sizeof buffer);
    lastCompileError = length > 0 ? std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length))
                                  : "out of memory";
    delete exp;
    if (error) *error = lastCompileError.c_str();
    return nullptr;
  }
  pcre2_set_match_limit(exp->context, kMatchLimit);
  pcre2_set_depth_limit(exp->context, kDepthLimit);
  uint32_t captures = 0;
  pcre2_pattern_info(exp->code, PCRE2_INFO_CAPTURECOUNT, &captures);
  exp->groups = static_cast<SQInteger>(captures) - hiddenGroups + 1;
  return exp;
}

extern "C" void sqstd_rex_free(SQRex* exp) { delete exp; }

extern "C" SQBool sqstd_rex_match(SQRex* exp, const SQChar* text) {
  if (!exp || !text) return SQFalse;
  return vellum::sqstd::rexMatchRange(exp, text, text + std::strlen(text)) ? SQTrue : SQFalse;
}

extern "C" SQBool sqstd_rex_searchrange(SQRex* exp, const SQChar* text_begin, const SQChar* text_end,
                                        const SQChar** out_begin, const SQChar** out_end) {
  if (!exp || !run(exp, text_begin, text_end, 0)) return SQFalse;
  const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(exp->data);
  if (out_begin) *out_begin = text_begin + offsets[0];
  if (out_end) *out_end = text_begin + offsets[1];
  return SQTrue;
}

extern "C" SQBool sqstd_rex_search(SQRex* exp, const SQChar* text, const SQChar** out_begin, const SQChar** out_end) {
  if (!text) return SQFalse;
  return sqstd_rex_searchrange(exp, text, text + std::strlen(text), out_begin, out_end);
}

extern "C" SQInteger sqstd_rex_getsubexpcount(SQRex* exp) { return exp ? exp->groups : 0; }

extern "C" SQBool sqstd_rex_getsubexp(SQRex* exp, SQInteger n, SQRexMatch* subexp) {
  if (!exp || !exp->matched || n < 0 || n >= exp->groups || !subexp) return SQFalse;
  const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(exp->data);
  const PCRE2_SIZE begin = offsets[2 * n];
  const PCRE2_SIZE end = offsets[2 * n + 1];
  if (begin == PCRE2_UNSET || end == PCRE2_UNSET || end < begin) {
    subexp->begin = nullptr;
    subexp->len = 0;
  } else {
    subexp->begin = exp->subject + begin;
    subexp->len = static_cast<SQInteger>(end - begin);
  }
  return SQTrue;
}
