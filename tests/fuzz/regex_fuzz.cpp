// Any bytes as a Perl-style expression (up to the first LF) and a subject (the rest), through the
// regular-expression layer's parser, pattern compiler and the call the expression's kind takes:
// errors are messages, never a crash, an out-of-bounds access or a hang.
#include <cstdint>
#include <string>
#include <string_view>

#include "script/regex/compiled_pattern.h"
#include "script/regex/perl_expression.h"
#include "script/regex/regexp_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum::regex;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\n');
  const std::string expression(input.substr(0, split));
  const std::string subject(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

  PerlExpression parsed;
  std::string error;
  if (!parseExpression(expression, parsed, error)) return 0;
  if (parsed.kind != ExpressionKind::Transliterate) {
    CompiledPattern pattern;
    pattern.compile(parsed.pattern, parsed.options, error);
  }

  Regexp* rx = nullptr;
  char message[kRegexpMessageSize];
  const char* start = subject.data();
  const char* end = start + subject.size();
  switch (parsed.kind) {
    case ExpressionKind::Match:
      BMatch(expression.c_str(), start, end, &rx, message);
      BSplit(expression.c_str(), start, end, 0, &rx, message);
      BSplit(expression.c_str(), start, end, 2, &rx, message);
      break;
    case ExpressionKind::Substitute:
      BSubst(expression.c_str(), start, end, &rx, message);
      BMatch(expression.c_str(), start, end, &rx, message);
      break;
    case ExpressionKind::Transliterate:
      BTrans(expression.c_str(), start, end, &rx, message);
      break;
  }
  BRegfree(rx);
  return 0;
}
