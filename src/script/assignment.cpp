#include "script/assignment.h"

#include <optional>
#include <string>
#include <vector>

#include "base/report.h"
#include "script/argument_form.h"
#include "script/assignment_form.h"
#include "script/char_classes.h"
#include "script/evaluator.h"
#include "script/expression.h"
#include "script/variables.h"
#include "script/script_messages.h"
#include "script/script_state.h"
#include "script/tokenizer.h"

namespace vellum {

namespace {

// What an assignment writes to.
struct Target {
  int32_t* integer = nullptr;
  std::string* text = nullptr;
  bool byteAccess = false;
  int64_t offset = 0;
  int width = 1;
};

// Assignment errors name the position and the item, then the problem.
void reportAssignment(std::string_view item, std::string_view problem) {
  const ScriptState& s = scriptState();
  showErrorBox(ReportText()
                   .gbk(s.slots[s.cursor.slot].displayName)
                   .ascii("[")
                   .number(s.cursor.line)
                   .ascii("] ")
                   .gbk(item)
                   .sjis(messages::kMark)
                   .sjis(problem));
}

void reportStringCompound(std::string_view item, const std::string& op) {
  std::string problem(messages::kStringCompoundBefore);
  problem += op;
  problem += messages::kStringCompoundAfter;
  reportAssignment(item, problem);
}

// Position of the ')' that closes the parenthesis open before `from` (or the end of the text).
size_t closingParenthesis(std::string_view text, size_t from) {
  int depth = 0;
  char quote = 0;
  for (size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (chars::is(chars::kLeadByte, c)) {
      ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth-- == 0) {
      return i;
    }
  }
  return text.size();
}

// Reads the target at the start of the item. False when it is not one.
bool readTarget(Evaluator& evaluator, Target& target) {
  ExpressionLexer& lexer = evaluator.lexer();
  const Token first = lexer.next();
  if (first.is('$')) {
    lexer.next();
    target.text = evaluator.stringReference();
    return target.text != nullptr;
  }
  if (first.is('%')) {
    lexer.next();
    target.integer = evaluator.intReference();
    return target.integer != nullptr;
  }
  if (!first.is('*')) return false;
  target.byteAccess = true;
  const Token& second = lexer.next();
  if (second.is('$')) {
    lexer.next();
    target.text = evaluator.stringReference();
    return target.text != nullptr;
  }
  if (!second.is('(') || !lexer.next().is('$')) return false;
  lexer.next();
  target.text = evaluator.stringReference();
  if (!target.text) return false;
  // The text up to the closing parenthesis is the byte offset.
  const std::string_view item = lexer.input();
  const size_t start = lexer.currentStart();
  const size_t close = closingParenthesis(item, start);
  target.offset = toInt64(evaluate(item.substr(start, close - start)).number);
  lexer.seek(close);
  if (lexer.current().is(')')) lexer.next();
  if (lexer.current().kind == TokenKind::Number) {
    const int w = lexer.current().text[0] - '0';
    target.width = (w == 1 || w == 2 || w == 4) ? w : 1;
    lexer.next();
  }
  return true;
}

// Reads "=", "op=", "<<=" or ">>=". Returns the operator without its '=' ("" for plain '=').
bool readOperator(ExpressionLexer& lexer, std::string& op) {
  const Token& t = lexer.current();
  if (t.is('=')) {
    op.clear();
    return true;
  }
  if (t.kind != TokenKind::Operator) return false;
  const char c = t.text[0];
  if (c == '<' || c == '>') {
    if (!lexer.next().is(c)) return false;
    op = std::string(2, c);
  } else if (std::string_view("+-*/%\\&|^").find(c) != std::string_view::npos) {
    op = std::string(1, c);
  } else {
    return false;
  }
  return lexer.next().is('=');
}

int32_t applyInteger(int32_t left, int32_t right, const std::string& op) {
  const auto u = [](int32_t v) { return static_cast<uint32_t>(v); };
  if (op.empty()) return right;
  switch (op[0]) {
    case '+': return static_cast<int32_t>(u(left) + u(right));
    case '-': return static_cast<int32_t>(u(left) - u(right));
    case '*': return static_cast<int32_t>(u(left) * u(right));
    case '/':
    case '\\':
      // Integer division; by zero (or the one overflowing quotient) leaves the variable as it is.
      if (right == 0 || (left == INT32_MIN && right == -1)) return left;
      return left / right;
    case '%':
      if (right == 0 || (left == INT32_MIN && right == -1)) return left;
      return left % right;
    case '&': return left & right;
    case '|': return left | right;
    case '^': return left ^ right;
    case '<': return static_cast<int32_t>(u(left) << (right & 31));
    default: return left >> (right & 31);
  }
}

// A plain integer target read at compile time, when its variable exists now.
bool takePlainTarget(const AssignmentItem& compiled, Target& target, std::string& op, size_t& valueStart) {
  if (!compiled.plainTarget) return false;
  const PlainTarget& plain = *compiled.plainTarget;
  if (plain.named) {
    target.integer = plain.named->find();
    if (!target.integer) return false;  // read again by the evaluator, which reports it
  } else {
    target.integer = &variables().ints[plain.index];
  }
  op = plain.op;
  valueStart = plain.valueStart;
  return true;
}

void assignOne(AssignmentItem& compiled) {
  const std::string_view item = compiled.item.text;
  Target target;
  std::string op;
  size_t valueStart = 0;
  if (!takePlainTarget(compiled, target, op, valueStart)) {
    Evaluator evaluator(item, compiled.item.tokens);
    if (!readTarget(evaluator, target)) {
      if (!evaluator.failed()) reportAssignment(item, messages::kNotAssignable);
      return;
    }
    if (!readOperator(evaluator.lexer(), op)) {
      reportAssignment(item, messages::kBadAssignmentOperator);
      return;
    }
    valueStart = evaluator.lexer().position();
  }
  const Value value = evaluate(compiled.valueFrom(valueStart));
  if (value.type == kNoValue) {
    reportAssignment(item, messages::kAssignmentTypeMismatch);
    return;
  }

  if (target.byteAccess) {
    if (value.isString()) return;
    std::string& bytes = *target.text;
    if (target.offset < 0 || target.offset + target.width > static_cast<int64_t>(bytes.size())) {
      errorc(ReportText().gbk(item).ascii(" ").sjis(messages::kVariableIndexOutOfRange), true);
      return;
    }
    uint32_t stored = 0;
    for (int i = 0; i < target.width; ++i)
      stored |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[static_cast<size_t>(target.offset + i)])) << (8 * i);
    const uint32_t result =
        static_cast<uint32_t>(applyInteger(static_cast<int32_t>(stored), toInt32(value.number), op));
    for (int i = 0; i < target.width; ++i)
      bytes[static_cast<size_t>(target.offset + i)] = static_cast<char>((result >> (8 * i)) & 0xFF);
  } else if (target.text) {
    if (!value.isString()) return;
    if (op.empty()) {
      *target.text = value.text;
    } else if (op == "+") {
      *target.text += value.text;
    } else {
      reportStringCompound(item, op + "=");
    }
  } else {
    if (value.isString()) return;
    *target.integer = applyInteger(*target.integer, toInt32(value.number), op);
  }
}

// The part before the first '=' (double-byte aware) and the expression after it, if any.
void splitDeclaration(std::string_view item, std::string_view& name, std::string_view& init, bool& hasInit) {
  for (size_t i = 0; i < item.size(); ++i) {
    if (chars::is(chars::kLeadByte, item[i])) {
      ++i;
    } else if (item[i] == '=') {
      name = trimBlanks(item.substr(0, i));
      init = item.substr(i + 1);
      hasInit = true;
      return;
    }
  }
  name = trimBlanks(item);
  hasInit = false;
}

template <typename Store, typename Assign>
void declare(std::string_view items, Store& store, Assign assignValue) {
  for (std::string_view item : splitSegments(items, ',', false)) {
    std::string_view nameText, init;
    bool hasInit = false;
    splitDeclaration(item, nameText, init, hasInit);
    const Value name = evaluate(nameText);
    if (name.text.empty()) continue;
    auto& variable = store[name.text];  // created empty when new
    if (hasInit) assignValue(variable, evaluate(init));
  }
}

}  // namespace

void assign(std::string_view items) {
  std::optional<AssignmentForm> uncached;
  for (AssignmentItem& item : argumentForm(items, uncached).items) assignOne(item);
}

void declareIntegers(std::string_view items) {
  declare(items, variables().namedInts, [](int32_t& v, const Value& value) { v = toInt32(value.number); });
}

void declareStrings(std::string_view items) {
  declare(items, variables().namedStrings, [](std::string& v, const Value& value) { v = value.text; });
}

void bindList(std::string_view targets, std::string_view sources) {
  const auto targetList = splitSegments(targets, ',', false);
  const auto sourceList = splitSegments(sources, ',', false);
  for (size_t i = 0; i < targetList.size(); ++i) {
    std::string_view name, fallback;
    bool hasDefault = false;
    splitDeclaration(targetList[i], name, fallback, hasDefault);
    const bool haveSource = i < sourceList.size() && !(sourceList.size() == 1 && sourceList[0].empty());
    if (name.size() > 1 && name[0] == '$') {
      std::string* variable = findStringVariable(name);
      if (!variable) variable = &variables().namedStrings[std::string(trimBlanks(name.substr(1)))];
      std::string result = hasDefault ? evaluate(fallback).text : std::string();
      if (haveSource) {
        const std::string_view source = sourceList[i];
        if (!source.empty() && chars::is(chars::kNameOrMinus, source[0])) {
          result = std::string(source);
        } else {
          const Value v = evaluate(source);
          if (v.type != kNoValue) result = v.text;
        }
      }
      *variable = result;
    } else if (name.size() > 1 && name[0] == '%') {
      int32_t* variable = findIntVariable(name);
      if (!variable) variable = &variables().namedInts[std::string(trimBlanks(name.substr(1)))];
      double number = 0;
      if (haveSource) {
        number = evaluate(sourceList[i]).number;
      } else if (hasDefault) {
        number = evaluate(fallback).number;
      }
      *variable = toInt32(number);
    }
  }
}

}  // namespace vellum
