#include "script/evaluator.h"

#include <vellum/exports.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/report.h"
#include "script/script_messages.h"
#include "script/variables.h"

namespace vellum {

namespace {

Value numberValue(double n) {
  Value v;
  v.number = n;
  v.type = kNumberValue;
  return v;
}

Value stringValue(std::string text) {
  Value v;
  v.text = std::move(text);
  v.type = kStringValue;
  return v;
}

int compareBytes(const std::string& a, const std::string& b) {
  const int c = std::string_view(a).compare(std::string_view(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// '+' between every combination of operand types.
void add(Value& left, const Value& right) {
  if (left.isString() && right.isString()) {
    left.text += right.text;
  } else if (left.isString()) {
    // Drops the first n bytes.
    const int64_t n = std::clamp<int64_t>(toInt64(right.number), 0, static_cast<int64_t>(left.text.size()));
    left.text.erase(0, static_cast<size_t>(n));
  } else if (right.isString()) {
    // The right string from byte n on; nothing when n lies past its end.
    const int64_t n = std::max<int64_t>(toInt64(left.number), 0);
    left.text = n < static_cast<int64_t>(right.text.size()) ? right.text.substr(static_cast<size_t>(n)) : std::string();
    left.type = kStringValue;
  } else {
    left.number += right.number;
  }
}

}  // namespace

void Evaluator::fail(std::string_view sjisMessage) {
  if (report_ && !failed_) errorc(ReportText().gbk(text_).ascii(" ").sjis(sjisMessage), true);
  failed_ = true;
}

Value Evaluator::evaluateAll() {
  failed_ = false;
  if (lexer_.next().kind == TokenKind::End) return Value{};
  Value v = logical();
  if (failed_) v.type = kNoValue;
  return v;
}

Value Evaluator::logical() {
  Value v = comparison();
  while (true) {
    const Token& t = lexer_.current();
    if (t.is('&') || t.is('|')) {
      const char op = t.text[0];
      if (lexer_.next().is(op)) {
        lexer_.next();
        const Value r = comparison();
        v.number = op == '&' ? (v.number != 0 && r.number != 0) : (v.number != 0 || r.number != 0);
      } else {
        const Value r = comparison();
        v.number = op == '&' ? (toInt32(v.number) & toInt32(r.number)) : (toInt32(v.number) | toInt32(r.number));
      }
    } else if (t.is('^')) {
      lexer_.next();
      const Value r = comparison();
      v.number = toInt32(v.number) ^ toInt32(r.number);
    } else {
      return v;
    }
  }
}

Value Evaluator::comparison() {
  Value v = additive();
  while (true) {
    const Token& t = lexer_.current();
    std::string op;
    if (t.is('<') || t.is('>')) {
      op = t.text;
      const Token& second = lexer_.next();
      if (second.is('=') || second.is(op[0])) {
        op += second.text;
        lexer_.next();
      }
    } else if (t.is('=') || t.is('!')) {
      // The second byte of == and != is taken without looking at it.
      op = t.text + "=";
      lexer_.next();
      lexer_.next();
    } else {
      return v;
    }
    const Value r = additive();
    if (op == "<<" || op == ">>") {
      const int32_t left = toInt32(v.number);
      const int shift = toInt32(r.number) & 31;
      v.number = op == "<<" ? static_cast<int32_t>(static_cast<uint32_t>(left) << shift) : (left >> shift);
      continue;
    }
    const int order = r.isString() ? compareBytes(v.text, r.text) : (v.number < r.number ? -1 : (v.number > r.number ? 1 : 0));
    bool result;
    if (op == "<") result = order < 0;
    else if (op == "<=") result = order <= 0;
    else if (op == ">") result = order > 0;
    else if (op == ">=") result = order >= 0;
    else if (op == "==") result = order == 0;
    else result = order != 0;
    v.type = kNumberValue;
    v.number = result ? 1 : 0;
  }
}

Value Evaluator::additive() {
  Value v = multiplicative();
  while (true) {
    const Token& t = lexer_.current();
    if (t.is('+')) {
      lexer_.next();
      add(v, multiplicative());
    } else if (t.is('-')) {
      lexer_.next();
      v.number -= multiplicative().number;
    } else {
      return v;
    }
  }
}

Value Evaluator::multiplicative() {
  Value v = primary();
  while (true) {
    const Token& t = lexer_.current();
    if (!(t.is('*') || t.is('/') || t.is('\\') || t.is('%'))) return v;
    const char op = t.text[0];
    lexer_.next();
    const double r = primary().number;
    switch (op) {
      case '*': v.number *= r; break;
      case '/': v.number /= r; break;
      case '\\': v.number = toInt32(v.number / r); break;
      default: v.number = std::fmod(v.number, r); break;
    }
  }
}

Value Evaluator::primary() {
  const Token& t = lexer_.current();
  if (t.kind == TokenKind::Identifier) {
    Value v = stringValue(t.text);
    lexer_.next();
    return v;
  }
  if (t.is('!')) {
    if (!lexer_.next().is('(')) return prefixRun(true);
    lexer_.next();
    Value v = expression();
    if (lexer_.current().is(')')) lexer_.next();
    return numberValue(v.number == 0 ? 1 : 0);
  }
  if (t.is('$')) {
    if (lexer_.next().is('(')) return toStringConversion();
    std::string* s = stringReference();
    return s ? stringValue(*s) : Value{};
  }
  if (t.is('%')) {
    if (lexer_.next().is('(')) return toNumberConversion();
    int32_t* i = intReference();
    return i ? numberValue(*i) : Value{};
  }
  if (t.is('(')) {
    lexer_.next();
    Value v = expression();
    if (lexer_.current().is(')')) lexer_.next();
    return v;
  }
  if (t.is('*')) {
    const Token& after = lexer_.next();
    return after.is('(') || after.is('$') ? byteRead() : labelReference();
  }
  return prefixRun(false);
}

Value Evaluator::prefixRun(bool startsWithNot) {
  std::vector<char> ops;
  if (startsWithNot) ops.push_back('!');
  for (int read = static_cast<int>(ops.size()); read < 256; ++read) {
    const Token& t = lexer_.current();
    if (!(t.is('+') || t.is('-') || t.is('!'))) break;
    const char op = t.text[0];
    // "+ +" and "- -" cancel.
    if ((op == '+' || op == '-') && !ops.empty() && ops.back() == op) {
      ops.pop_back();
    } else {
      ops.push_back(op);
    }
    lexer_.next();
  }

  Value v;
  const Token& operand = lexer_.current();
  if (operand.is('$')) {
    lexer_.next();
    std::string* s = stringReference();
    v = s ? stringValue(*s) : Value{};
  } else if (operand.is('%')) {
    lexer_.next();
    int32_t* i = intReference();
    v = i ? numberValue(*i) : Value{};
  } else if (operand.kind == TokenKind::Number) {
    v = numberValue(operand.number);
    lexer_.next();
  } else {
    v = stringValue(operand.text);
    if (operand.kind != TokenKind::End) lexer_.next();
  }
  // Applied left to right: "-!0" is !(-0), which is 1.
  for (char op : ops) {
    if (op == '-') v.number = -v.number;
    else if (op == '!') v.number = v.number == 0 ? 1 : 0;
  }
  return v;
}

Value Evaluator::toStringConversion() {
  lexer_.next();
  Value v = expression();
  if (lexer_.current().is(')')) lexer_.next();
  if (!v.isString()) {
    std::string text = itos10(toInt32(v.number));
    const Token& t = lexer_.current();
    if (t.kind == TokenKind::Number) {
      const size_t width = static_cast<size_t>(t.text[0] - '0');
      if (text.size() < width) text.insert(0, width - text.size(), '0');
      lexer_.next();
    }
    v.text = std::move(text);
  }
  v.type = kStringValue;
  return v;
}

Value Evaluator::toNumberConversion() {
  lexer_.next();
  Value v = expression();
  if (lexer_.current().is(')')) lexer_.next();
  if (v.isString()) {
    v.number = v.text.size() > 1 && v.text[1] == 'x' ? static_cast<double>(atoi16(v.text.c_str())) : atod10(v.text.c_str());
  }
  v.type = kNumberValue;
  return v;
}

Value Evaluator::byteRead() {
  const std::string s = primary().text;
  const Token& t = lexer_.current();
  if (t.kind != TokenKind::Number) return numberValue(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
  const int width = t.text[0] - '0';
  lexer_.next();
  if (width > 4) {
    fail(messages::kBadByteWidth);
    return Value{};
  }
  uint32_t word = 0;
  for (int i = 0; i < width && i < static_cast<int>(s.size()); ++i) {
    word |= static_cast<uint32_t>(static_cast<unsigned char>(s[static_cast<size_t>(i)])) << (8 * i);
  }
  return numberValue(width == 4 ? static_cast<double>(static_cast<int32_t>(word)) : static_cast<double>(word));
}

Value Evaluator::labelReference() {
  std::string text = "*";
  for (; lexer_.current().kind != TokenKind::End; lexer_.next()) text += lexer_.current().text;
  return stringValue(std::move(text));
}

int Evaluator::variableIndex(double number) {
  const int32_t index = toInt32(number);
  if (index < 0 || index >= kNumberedVariables || index != number) {
    fail(messages::kVariableIndexOutOfRange);
    return -1;
  }
  return index;
}

int32_t* Evaluator::intReference() {
  VariableStore& store = variables();
  const Token& t = lexer_.current();
  if (t.is('%')) {
    lexer_.next();
    int32_t* inner = intReference();
    if (!inner) return nullptr;
    const int index = variableIndex(*inner);
    return index < 0 ? nullptr : &store.ints[static_cast<size_t>(index)];
  }
  if (t.is('$')) {
    lexer_.next();
    std::string* name = stringReference();
    if (!name) return nullptr;
    auto found = store.namedInts.find(*name);
    if (found != store.namedInts.end()) return &found->second;
  } else if (t.kind == TokenKind::Number) {
    lexer_.next();
    const int index = variableIndex(t.number);
    return index < 0 ? nullptr : &store.ints[static_cast<size_t>(index)];
  } else if (t.kind == TokenKind::Identifier) {
    lexer_.next();
    auto found = store.namedInts.find(t.text);
    if (found != store.namedInts.end()) return &found->second;
  } else if (t.kind != TokenKind::End) {
    lexer_.next();
  }
  fail(messages::kNoSuchVariable);
  return nullptr;
}

std::string* Evaluator::stringReference() {
  VariableStore& store = variables();
  const Token& t = lexer_.current();
  if (t.is('%')) {
    lexer_.next();
    int32_t* index = intReference();
    if (!index) return nullptr;
    const int i = variableIndex(*index);
    return i < 0 ? nullptr : &store.strings[static_cast<size_t>(i)];
  }
  if (t.is('$')) {
    lexer_.next();
    std::string* name = stringReference();
    if (!name) return nullptr;
    auto found = store.namedStrings.find(*name);
    if (found != store.namedStrings.end()) return &found->second;
  } else if (t.kind == TokenKind::Number) {
    lexer_.next();
    const int i = variableIndex(t.number);
    return i < 0 ? nullptr : &store.strings[static_cast<size_t>(i)];
  } else if (t.kind == TokenKind::Identifier) {
    lexer_.next();
    auto found = store.namedStrings.find(t.text);
    if (found != store.namedStrings.end()) return &found->second;
  } else if (t.kind != TokenKind::End) {
    lexer_.next();
  }
  fail(messages::kNoSuchVariable);
  return nullptr;
}

}  // namespace vellum
