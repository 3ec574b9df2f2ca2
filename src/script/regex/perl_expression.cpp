#include "script/regex/perl_expression.h"

#include <utility>

namespace vellum::regex {

namespace {

bool isDelimiter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 0x20 && u < 0x7F && c != '\\' && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
         !(c >= 'a' && c <= 'z');
}

// Reads one delimited part starting at `at` (just after the opening delimiter). The part keeps its
// escapes; `at` ends just after the closing delimiter.
bool readPart(std::string_view text, size_t& at, char delimiter, TextCodePage page, std::string& part) {
  part.clear();
  while (at < text.size()) {
    const size_t length = characterLength(text, at, page);
    const char c = text[at];
    if (length == 1 && c == delimiter) {
      ++at;
      return true;
    }
    if (length == 1 && c == '\\' && at + 1 < text.size()) {
      // The escaped character may itself be double-byte.
      const size_t escaped = characterLength(text, at + 1, page);
      part.append(text.substr(at, 1 + escaped));
      at += 1 + escaped;
      continue;
    }
    part.append(text.substr(at, length));
    at += length;
  }
  return false;
}

bool applyOption(char c, ExpressionKind kind, ExpressionOptions& options) {
  const bool tr = kind == ExpressionKind::Transliterate;
  switch (c) {
    case 'g': options.global = true; return !tr;
    case 'i': options.ignoreCase = true; return !tr;
    case 'm': options.multiLine = true; return !tr;
    case 'x': options.extended = true; return !tr;
    case 's':
      if (tr) {
        options.squeeze = true;
      } else {
        options.dotAll = true;
      }
      return true;
    case 'c': options.complement = true; return tr;
    case 'd': options.deleteUnmatched = true; return tr;
    case 'k': options.codePage = TextCodePage::Game; return true;
    case 'j': options.codePage = TextCodePage::ShiftJis; return true;
    case 'o': return true;
    default: return false;
  }
}

bool parseWith(std::string_view text, TextCodePage page, PerlExpression& e, std::string& error) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  const std::string_view rest = text.substr(at);
  int parts = 1;
  if (rest.starts_with("tr") && rest.size() > 2 && isDelimiter(rest[2])) {
    e.kind = ExpressionKind::Transliterate;
    at += 2;
    parts = 2;
  } else if ((rest.starts_with("s") || rest.starts_with("y")) && rest.size() > 1 && isDelimiter(rest[1])) {
    e.kind = rest[0] == 's' ? ExpressionKind::Substitute : ExpressionKind::Transliterate;
    at += 1;
    parts = 2;
  } else if (rest.starts_with("m") && rest.size() > 1 && isDelimiter(rest[1])) {
    e.kind = ExpressionKind::Match;
    at += 1;
  } else if (!rest.empty() && rest[0] == '/') {
    e.kind = ExpressionKind::Match;
  } else {
    error = "expression must start with m/, s/, tr/ or /";
    return false;
  }
  e.delimiter = text[at++];
  if (!readPart(text, at, e.delimiter, page, e.pattern)) {
    error = "missing closing delimiter";
    return false;
  }
  e.replacement.clear();
  if (parts == 2 && !readPart(text, at, e.delimiter, page, e.replacement)) {
    error = "missing closing delimiter";
    return false;
  }
  e.options = ExpressionOptions{};
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (!applyOption(c, e.kind, e.options)) {
      error = std::string("unknown option '") + (static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "?") + "'";
      return false;
    }
  }
  return true;
}

}  // namespace

bool parseExpression(std::string_view text, PerlExpression& expression, std::string& error) {
  const bool read = parseWith(text, TextCodePage::Game, expression, error);
  if (read && expression.options.codePage == TextCodePage::Game) return true;
  // The options come last, so a Shift-JIS expression is known only once it has been read; half-width
  // katakana read as lead bytes may have hidden a delimiter, so it is read again.
  PerlExpression shiftJis;
  std::string shiftJisError;
  if (parseWith(text, TextCodePage::ShiftJis, shiftJis, shiftJisError) &&
      shiftJis.options.codePage == TextCodePage::ShiftJis) {
    expression = std::move(shiftJis);
    return true;
  }
  return read;
}

}  // namespace vellum::regex
