#include "script/regex/regexp_library.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "script/regex/compiled_pattern.h"
#include "script/regex/perl_expression.h"
#include "script/regex/split_text.h"
#include "script/regex/substitution.h"
#include "script/regex/transliteration.h"

namespace vellum::regex {

namespace {

void setMessage(char* message, std::string_view text) {
  if (!message) return;
  const size_t length = std::min(text.size(), kRegexpMessageSize - 1);
  std::memcpy(message, text.data(), length);
  message[length] = '\0';
}

// A fresh (or emptied) record for this call.
Regexp& recordFor(Regexp** rx) {
  if (!*rx) {
    *rx = new Regexp;
  } else {
    **rx = Regexp{};
  }
  return **rx;
}

// Reads the expression and checks its kind; reports through `message` when it is not usable.
bool prepare(const char* expression, const char* start, const char* end, Regexp** rx, char* message,
             bool (*acceptable)(ExpressionKind), PerlExpression& parsed) {
  setMessage(message, "");
  if (!rx || !expression || (!start && end) || (start && end && end < start)) {
    setMessage(message, "bad arguments");
    return false;
  }
  std::string error;
  if (!parseExpression(expression, parsed, error)) {
    setMessage(message, error);
    return false;
  }
  if (!acceptable(parsed.kind)) {
    setMessage(message, "this call does not take that kind of expression");
    return false;
  }
  return true;
}

std::string_view subject(const char* start, const char* end) {
  return start ? std::string_view(start, static_cast<size_t>(end - start)) : std::string_view();
}

int failed(char* message, const std::string& error) {
  setMessage(message, error);
  return -1;
}

}  // namespace

int BMatch(const char* expression, const char* start, const char* end, Regexp** rx, char* message) {
  PerlExpression e;
  if (!prepare(expression, start, end, rx, message,
               [](ExpressionKind k) { return k != ExpressionKind::Transliterate; }, e)) {
    return -1;
  }
  Regexp& r = recordFor(rx);
  const std::string_view text = subject(start, end);
  CompiledPattern pattern;
  std::string error;
  if (!pattern.compile(e.pattern, e.options, error)) return failed(message, error);
  Match m;
  if (!pattern.find(encodeText(text, e.options.codePage), 0, false, m, error)) {
    return error.empty() ? 0 : failed(message, error);
  }
  r.nparens = pattern.groupCount();
  for (const ByteSpan& span : m.groups) {
    r.starts.push_back(span.matched() ? start + span.start : nullptr);
    r.ends.push_back(span.matched() ? start + span.end : nullptr);
  }
  r.startp = r.starts.data();
  r.endp = r.ends.data();
  return 1;
}

int BSubst(const char* expression, const char* start, const char* end, Regexp** rx, char* message) {
  PerlExpression e;
  if (!prepare(expression, start, end, rx, message, [](ExpressionKind k) { return k == ExpressionKind::Substitute; },
               e)) {
    return -1;
  }
  Regexp& r = recordFor(rx);
  std::string error;
  const int count = substitute(e, subject(start, end), r.output, error);
  if (count < 0) return failed(message, error);
  if (count > 0) {
    r.outp = r.output.data();
    r.outendp = r.output.data() + r.output.size();
  }
  return count;
}

int BTrans(const char* expression, const char* start, const char* end, Regexp** rx, char* message) {
  PerlExpression e;
  if (!prepare(expression, start, end, rx, message,
               [](ExpressionKind k) { return k == ExpressionKind::Transliterate; }, e)) {
    return -1;
  }
  Regexp& r = recordFor(rx);
  std::string error;
  const int count = transliterate(e, subject(start, end), r.output, error);
  if (count < 0) return failed(message, error);
  r.outp = r.output.data();
  r.outendp = r.output.data() + r.output.size();
  return count;
}

int BSplit(const char* expression, const char* start, const char* end, int limit, Regexp** rx, char* message) {
  PerlExpression e;
  if (!prepare(expression, start, end, rx, message, [](ExpressionKind k) { return k == ExpressionKind::Match; }, e)) {
    return -1;
  }
  Regexp& r = recordFor(rx);
  std::vector<ByteSpan> pieces;
  std::string error;
  const int count = splitText(e, subject(start, end), limit, pieces, error);
  if (count < 0) return failed(message, error);
  for (const ByteSpan& piece : pieces) {
    r.pieceBounds.push_back(start + piece.start);
    r.pieceBounds.push_back(start + piece.end);
  }
  r.splitctr = count;
  r.splitp = r.pieceBounds.data();
  return count;
}

void BRegfree(Regexp* rx) { delete rx; }

}  // namespace vellum::regex
