#include "script/regex/compiled_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace vellum::regex {

namespace {

// Scripts run on the main thread; a runaway pattern must fail instead of stalling the game.
constexpr uint32_t kMatchLimit = 2'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr uint32_t kHeapLimitKib = 16 * 1024;

std::string pcreMessage(int code) {
  PCRE2_UCHAR buffer[120];
  const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
  return length > 0 ? std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length)) : "error";
}

}  // namespace

struct CompiledPattern::Handles {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  pcre2_match_context* context = nullptr;

  ~Handles() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
};

CompiledPattern::CompiledPattern() : handles_(std::make_unique<Handles>()) {}
CompiledPattern::~CompiledPattern() = default;

bool CompiledPattern::compile(std::string_view pattern, const ExpressionOptions& options, std::string& error) {
  const std::string coded = encodePattern(pattern, options.codePage);
  // \C could stop inside a character, so it is refused.
  uint32_t flags = PCRE2_UTF | PCRE2_NEVER_BACKSLASH_C;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  if (options.multiLine) flags |= PCRE2_MULTILINE;
  if (options.dotAll) flags |= PCRE2_DOTALL;
  if (options.extended) flags |= PCRE2_EXTENDED;
  int code = 0;
  PCRE2_SIZE offset = 0;
  handles_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(coded.data()), coded.size(), flags, &code, &offset,
                                 nullptr);
  if (!handles_->code) {
    error = pcreMessage(code);
    return false;
  }
  uint32_t captures = 0;
  pcre2_pattern_info(handles_->code, PCRE2_INFO_CAPTURECOUNT, &captures);
  groups_ = static_cast<int>(captures);
  handles_->data = pcre2_match_data_create_from_pattern(handles_->code, nullptr);
  handles_->context = pcre2_match_context_create(nullptr);
  if (!handles_->data || !handles_->context) {
    error = "out of memory";
    return false;
  }
  pcre2_set_match_limit(handles_->context, kMatchLimit);
  pcre2_set_depth_limit(handles_->context, kDepthLimit);
  pcre2_set_heap_limit(handles_->context, kHeapLimitKib);
  return true;
}

bool CompiledPattern::find(const CodedText& text, size_t from, bool notEmptyAtFrom, Match& match, std::string& error) {
  if (!handles_->code || from > text.utf8.size()) return false;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.utf8.data());
  const int rc = pcre2_match(handles_->code, subject, text.utf8.size(), from,
                             PCRE2_NO_UTF_CHECK | (notEmptyAtFrom ? PCRE2_NOTEMPTY_ATSTART : 0u), handles_->data,
                             handles_->context);
  if (rc < 0) {
    if (rc != PCRE2_ERROR_NOMATCH) error = pcreMessage(rc);
    return false;
  }
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(handles_->data);
  const uint32_t pairs = pcre2_get_ovector_count(handles_->data);
  match.groups.assign(static_cast<size_t>(groups_) + 1, ByteSpan{});
  for (size_t g = 0; g < match.groups.size() && g < pairs; ++g) {
    const PCRE2_SIZE start = ovector[2 * g];
    const PCRE2_SIZE end = ovector[2 * g + 1];
    if (start == PCRE2_UNSET || end < start || end > text.utf8.size()) continue;
    const uint32_t byteStart = text.byteOffset[start];
    const uint32_t byteEnd = text.byteOffset[end];
    // Every code point is a whole character, so this holds; a lookbehind \K could still report
    // an end before the start, which is skipped above.
    if (byteStart == CodedText::kNotABoundary || byteEnd == CodedText::kNotABoundary) continue;
    match.groups[g] = {byteStart, byteEnd};
  }
  match.codedStart = ovector[0];
  match.codedEnd = ovector[1];
  if (!match.groups[0].matched()) {
    error = "match outside the text";
    return false;
  }
  return true;
}

}  // namespace vellum::regex
