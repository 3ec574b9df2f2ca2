#include "squirrel/sq_lexer.h"

#include <cstdlib>
#include <unordered_map>

namespace sqvm {

namespace {

const std::unordered_map<std::string_view, int>& keywords() {
  static const std::unordered_map<std::string_view, int> table = {
      {"base", TK_BASE}, {"break", TK_BREAK}, {"case", TK_CASE}, {"catch", TK_CATCH},
      {"class", TK_CLASS}, {"clone", TK_CLONE}, {"continue", TK_CONTINUE}, {"const", TK_CONST},
      {"default", TK_DEFAULT}, {"delete", TK_DELETE}, {"else", TK_ELSE}, {"enum", TK_ENUM},
      {"extends", TK_EXTENDS}, {"for", TK_FOR}, {"foreach", TK_FOREACH}, {"function", TK_FUNCTION},
      {"if", TK_IF}, {"in", TK_IN}, {"local", TK_LOCAL}, {"null", TK_NULL}, {"resume", TK_RESUME},
      {"return", TK_RETURN}, {"switch", TK_SWITCH}, {"this", TK_THIS}, {"throw", TK_THROW},
      {"try", TK_TRY}, {"typeof", TK_TYPEOF}, {"while", TK_WHILE}, {"yield", TK_YIELD},
      {"constructor", TK_CONSTRUCTOR}, {"instanceof", TK_INSTANCEOF}, {"true", TK_TRUE},
      {"false", TK_FALSE}, {"static", TK_STATIC}, {"__LINE__", TK___LINE__},
      {"__FILE__", TK___FILE__}, {"rawcall", TK_RAWCALL}, {"do", TK_DO}};
  return table;
}

bool isIdentStart(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isHex(int c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

Lexer::Lexer(std::string_view source) : src_(source) {}

int Lexer::advance() {
  const int c = peek();
  if (c < 0) return c;
  ++pos_;
  if (c == '\n') {
    ++curLine_;
    curColumn_ = 1;
  } else {
    ++curColumn_;
  }
  return c;
}

void Lexer::fail(const std::string& message) const { throw LexError{message, curLine_, curColumn_}; }

void Lexer::skipSpaceAndComments() {
  for (;;) {
    const int c = peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      advance();
    } else if (c == '#' || (c == '/' && peek(1) == '/')) {
      while (peek() >= 0 && peek() != '\n') advance();
    } else if (c == '/' && peek(1) == '*') {
      advance();
      advance();
      for (;;) {
        if (peek() < 0) fail("missing \"*/\" in comment");
        if (peek() == '*' && peek(1) == '/') {
          advance();
          advance();
          break;
        }
        advance();
      }
    } else {
      return;
    }
  }
}

void Lexer::next() {
  prevLine = curLine_;
  skipSpaceAndComments();
  newlineBefore = curLine_ != prevLine;
  line = curLine_;
  column = curColumn_;
  text.clear();
  const int c = peek();
  if (c < 0) {
    token = TK_EOF;
    return;
  }
  if (isIdentStart(c)) {
    while (isIdentStart(peek()) || isDigit(peek())) text.push_back(static_cast<char>(advance()));
    auto it = keywords().find(text);
    token = it == keywords().end() ? TK_IDENTIFIER : it->second;
    return;
  }
  if (isDigit(c)) {
    readNumber();
    return;
  }
  if (c == '"') {
    readString('"', false);
    return;
  }
  if (c == '@' && peek(1) == '"') {
    advance();
    readString('"', true);
    return;
  }
  if (c == '\'') {
    advance();
    if (peek() == '\'') fail("empty constant");
    int value = peek() == '\\' ? (advance(), readEscape()) : advance();
    if (peek() != '\'') fail("constant too long");
    advance();
    token = TK_INTEGER;
    intValue = static_cast<int64_t>(static_cast<signed char>(value));
    return;
  }
  advance();
  const int n = peek();
  auto two = [&](int tok) {
    advance();
    token = tok;
  };
  switch (c) {
    case '=': if (n == '=') return two(TK_EQ); break;
    case '!': if (n == '=') return two(TK_NE); break;
    case '<':
      if (n == '=') {
        advance();
        if (peek() == '>') return two(TK_CMP3);
        token = TK_LE;
        return;
      }
      if (n == '-') return two(TK_NEWSLOT);
      if (n == '<') return two(TK_SHL);
      if (n == '/') return two(TK_ATTR_OPEN);
      break;
    case '>':
      if (n == '=') return two(TK_GE);
      if (n == '>') {
        advance();
        if (peek() == '>') return two(TK_USHR);
        token = TK_SHR;
        return;
      }
      break;
    case '&': if (n == '&') return two(TK_AND); break;
    case '|': if (n == '|') return two(TK_OR); break;
    case '+':
      if (n == '+') return two(TK_PLUSPLUS);
      if (n == '=') return two(TK_PLUSEQ);
      break;
    case '-':
      if (n == '-') return two(TK_MINUSMINUS);
      if (n == '=') return two(TK_MINUSEQ);
      break;
    case '*': if (n == '=') return two(TK_MULEQ); break;
    case '/':
      if (n == '=') return two(TK_DIVEQ);
      if (n == '>') return two(TK_ATTR_CLOSE);
      break;
    case '%': if (n == '=') return two(TK_MODEQ); break;
    case ':': if (n == ':') return two(TK_DOUBLECOLON); break;
    case '.':
      if (n == '.' && peek(1) == '.') {
        advance();
        return two(TK_VARPARAMS);
      }
      break;
    case '{': case '}': case '(': case ')': case '[': case ']': case ';': case ',': case '?':
    case '^': case '~': case '@':
      break;
    default:
      if (c < 32 || c > 126) fail("unexpected character");
      if (c == '$' || c == '`' || c == '\\') fail("unexpected character");
  }
  token = c;
}

void Lexer::readNumber() {
  const int first = advance();
  std::string digits(1, static_cast<char>(first));
  if (first == '0' && (peek() == 'x' || peek() == 'X')) {
    advance();
    uint64_t v = 0;
    int count = 0;
    while (isHex(peek())) {
      const int d = advance();
      v = v * 16 + static_cast<uint64_t>(isDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
      if (++count > 16) fail("too many digits for an Hex number");
    }
    if (!count) fail("expected hex digits after '0x'");
    token = TK_INTEGER;
    intValue = static_cast<int64_t>(v);
    return;
  }
  bool isFloat = false;
  while (isDigit(peek())) digits.push_back(static_cast<char>(advance()));
  const bool exponentAfterDot = (peek(1) == 'e' || peek(1) == 'E') &&
                                (isDigit(peek(2)) || ((peek(2) == '+' || peek(2) == '-') && isDigit(peek(3))));
  if (peek() == '.' && (isDigit(peek(1)) || exponentAfterDot)) {
    isFloat = true;
    digits.push_back(static_cast<char>(advance()));
    while (isDigit(peek())) digits.push_back(static_cast<char>(advance()));
  }
  if (peek() == 'e' || peek() == 'E') {
    isFloat = true;
    digits.push_back(static_cast<char>(advance()));
    if (peek() == '+' || peek() == '-') digits.push_back(static_cast<char>(advance()));
    if (!isDigit(peek())) fail("exponent expected");
    while (isDigit(peek())) digits.push_back(static_cast<char>(advance()));
  }
  if (isIdentStart(peek())) fail("invalid number");
  if (isFloat) {
    token = TK_FLOAT;
    floatValue = std::strtof(digits.c_str(), nullptr);
    return;
  }
  token = TK_INTEGER;
  if (digits.size() > 1 && digits[0] == '0') {
    uint64_t v = 0;
    for (size_t i = 1; i < digits.size(); ++i) {
      if (digits[i] > '7') fail("invalid octal number");
      v = v * 8 + static_cast<uint64_t>(digits[i] - '0');
    }
    intValue = static_cast<int64_t>(v);
    return;
  }
  uint64_t v = 0;
  for (char d : digits) v = v * 10 + static_cast<uint64_t>(d - '0');
  intValue = static_cast<int64_t>(v);
}

int Lexer::readEscape() {
  const int c = advance();
  switch (c) {
    case 't': return '\t';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'n': return '\n';
    case 'r': return '\r';
    case 'v': return '\v';
    case 'f': return '\f';
    case '0': return '\0';
    case '\\': return '\\';
    case '"': return '"';
    case '\'': return '\'';
    case 'x': {
      if (!isHex(peek())) fail("hexadecimal number expected");
      int v = 0;
      for (int i = 0; i < 2 && isHex(peek()); ++i) {
        const int d = advance();
        v = v * 16 + (isDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
      }
      return v;
    }
    default: fail("unrecognised escaper char");
  }
}

void Lexer::readString(int quote, bool verbatim) {
  advance();
  for (;;) {
    const int c = peek();
    if (c < 0) fail("unfinished string");
    if (c == '\n' && !verbatim) fail("newline in a constant");
    advance();
    if (c == quote) {
      if (verbatim && peek() == quote) {
        advance();
        text.push_back(static_cast<char>(quote));
        continue;
      }
      break;
    }
    if (c == '\\' && !verbatim) {
      text.push_back(static_cast<char>(readEscape()));
      continue;
    }
    text.push_back(static_cast<char>(c));
  }
  token = TK_STRING;
}

std::string Lexer::tokenName(int token) {
  if (token == TK_EOF) return "end of script";
  if (token < 256) return std::string("'") + static_cast<char>(token) + "'";
  switch (token) {
    case TK_IDENTIFIER: return "identifier";
    case TK_STRING: return "string";
    case TK_INTEGER: return "integer";
    case TK_FLOAT: return "float";
    default: break;
  }
  for (const auto& [name, tok] : keywords())
    if (tok == token) return std::string(name);
  static const char* const ops[] = {"==", "!=", "<=", ">=", "&&", "||", "++", "--", "+=", "-=", "*=",
                                    "/=", "%=", "<-", "<<", ">>", ">>>", "<=>", "::", "...", "</", "/>"};
  if (token >= TK_EQ && token <= TK_ATTR_CLOSE) return ops[token - TK_EQ];
  return "token";
}

}  // namespace sqvm
