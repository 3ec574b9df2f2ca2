#include "script/numeric_expression.h"

#include <cmath>

#include "script/value.h"
#include "script/variables.h"

namespace vellum {

namespace {

using Op = NumericExpression::Op;
using Step = NumericExpression::Step;

// Recursive descent over the tokens, level for level as the evaluator reads them; any token it
// does not know ends the compile.
class Compiler {
 public:
  explicit Compiler(const TokenList& tokens) : tokens_(tokens) {}

  bool all(std::vector<Step>& steps, size_t& depth) {
    if (!logical() || at().kind != TokenKind::End) return false;
    steps = std::move(steps_);
    depth = maxDepth_;
    return true;
  }

 private:
  const Token& at() const { return tokens_[index_]; }
  const Token& after() const { return tokens_[index_ + 1 < tokens_.size() ? index_ + 1 : index_]; }
  void advance() {
    if (index_ + 1 < tokens_.size()) ++index_;
  }
  void push(Step step) {
    if (step.op == Op::Number || step.op == Op::NamedInt || step.op == Op::NumberedInt) {
      if (++depth_ > maxDepth_) maxDepth_ = depth_;
    } else {
      --depth_;
    }
    steps_.push_back(std::move(step));
  }
  bool binary(Op op, bool (Compiler::*operand)()) {
    if (!(this->*operand)()) return false;
    push({op});
    return true;
  }

  bool logical() {
    if (!comparison()) return false;
    while (true) {
      const Token& t = at();
      if (t.is('&') || t.is('|')) {
        const char op = t.text[0];
        advance();
        if (at().is(op)) {
          advance();
          if (!binary(op == '&' ? Op::And : Op::Or, &Compiler::comparison)) return false;
        } else if (!binary(op == '&' ? Op::BitAnd : Op::BitOr, &Compiler::comparison)) {
          return false;
        }
      } else if (t.is('^')) {
        advance();
        if (!binary(Op::BitXor, &Compiler::comparison)) return false;
      } else {
        return true;
      }
    }
  }

  bool comparison() {
    if (!additive()) return false;
    while (true) {
      const Token& t = at();
      Op op;
      if (t.is('<') || t.is('>')) {
        const char c = t.text[0];
        advance();
        if (at().is('=')) {
          op = c == '<' ? Op::LessEqual : Op::GreaterEqual;
          advance();
        } else if (at().is(c)) {
          op = c == '<' ? Op::ShiftLeft : Op::ShiftRight;
          advance();
        } else {
          op = c == '<' ? Op::Less : Op::Greater;
        }
      } else if ((t.is('=') || t.is('!')) && after().is('=')) {
        op = t.is('=') ? Op::Equal : Op::NotEqual;
        advance();
        advance();
      } else if (t.is('=') || t.is('!')) {
        return false;  // the evaluator's reading of a lone '=' or '!' is left to it
      } else {
        return true;
      }
      if (!binary(op, &Compiler::additive)) return false;
    }
  }

  bool additive() {
    if (!multiplicative()) return false;
    while (true) {
      const Token& t = at();
      if (!(t.is('+') || t.is('-'))) return true;
      const Op op = t.is('+') ? Op::Add : Op::Subtract;
      advance();
      if (!binary(op, &Compiler::multiplicative)) return false;
    }
  }

  bool multiplicative() {
    if (!primary()) return false;
    while (true) {
      const Token& t = at();
      Op op;
      if (t.is('*')) op = Op::Multiply;
      else if (t.is('/')) op = Op::Divide;
      else if (t.is('\\')) op = Op::IntegerDivide;
      else if (t.is('%')) op = Op::Remainder;
      else return true;
      advance();
      if (!binary(op, &Compiler::primary)) return false;
    }
  }

  bool primary() {
    const Token& t = at();
    if (t.kind == TokenKind::Number) {
      push({Op::Number, t.number});
      advance();
      return true;
    }
    if (t.is('(')) {
      advance();
      if (!logical() || !at().is(')')) return false;
      advance();
      return true;
    }
    if (!t.is('%')) return false;
    advance();
    const Token& name = at();
    if (name.kind == TokenKind::Identifier) {
      push({Op::NamedInt, 0, 0, NamedIntReference(name.text)});
    } else if (name.kind == TokenKind::Number) {
      const int32_t index = toInt32(name.number);
      if (index < 0 || index >= kNumberedVariables || index != name.number) return false;
      push({Op::NumberedInt, 0, static_cast<size_t>(index)});
    } else {
      return false;
    }
    advance();
    return true;
  }

  const TokenList& tokens_;
  size_t index_ = 0;
  std::vector<Step> steps_;
  size_t depth_ = 0;
  size_t maxDepth_ = 0;
};

double compare(Op op, double left, double right) {
  const int order = left < right ? -1 : (left > right ? 1 : 0);
  switch (op) {
    case Op::Less: return order < 0;
    case Op::LessEqual: return order <= 0;
    case Op::Greater: return order > 0;
    case Op::GreaterEqual: return order >= 0;
    case Op::Equal: return order == 0;
    default: return order != 0;
  }
}

double apply(Op op, double left, double right) {
  switch (op) {
    case Op::Multiply: return left * right;
    case Op::Divide: return left / right;
    case Op::IntegerDivide: return toInt32(left / right);
    case Op::Remainder: return std::fmod(left, right);
    case Op::Add: return left + right;
    case Op::Subtract: return left - right;
    case Op::ShiftLeft:
      return static_cast<int32_t>(static_cast<uint32_t>(toInt32(left)) << (toInt32(right) & 31));
    case Op::ShiftRight: return toInt32(left) >> (toInt32(right) & 31);
    case Op::And: return left != 0 && right != 0;
    case Op::Or: return left != 0 || right != 0;
    case Op::BitAnd: return toInt32(left) & toInt32(right);
    case Op::BitOr: return toInt32(left) | toInt32(right);
    case Op::BitXor: return toInt32(left) ^ toInt32(right);
    default: return compare(op, left, right);
  }
}

}  // namespace

std::optional<NumericExpression> NumericExpression::compile(const TokenList& tokens) {
  NumericExpression expression;
  if (!Compiler(tokens).all(expression.steps_, expression.depth_)) return std::nullopt;
  return expression;
}

namespace {

// The value an operand step pushes; false when its variable does not exist.
bool operand(const Step& step, double& value) {
  switch (step.op) {
    case Op::Number:
      value = step.number;
      return true;
    case Op::NumberedInt:
      value = variables().ints[step.index];
      return true;
    default: {
      const int32_t* variable = step.named->find();
      if (!variable) return false;
      value = *variable;
      return true;
    }
  }
}

}  // namespace

bool NumericExpression::evaluate(double& result) const {
  // The commonest shapes, one operand or one operator, without the stack.
  if (steps_.size() == 1) return operand(steps_[0], result);
  if (steps_.size() == 3 && depth_ == 2) {
    double left, right;
    if (!operand(steps_[0], left) || !operand(steps_[1], right)) return false;
    result = apply(steps_[2].op, left, right);
    return true;
  }
  constexpr size_t kSmallStack = 16;
  double small[kSmallStack];
  std::vector<double> large;
  double* stack = small;
  if (depth_ > kSmallStack) {
    large.resize(depth_);
    stack = large.data();
  }
  size_t top = 0;
  VariableStore& store = variables();
  for (const Step& step : steps_) {
    switch (step.op) {
      case Op::Number:
        stack[top++] = step.number;
        break;
      case Op::NumberedInt:
        stack[top++] = store.ints[step.index];
        break;
      case Op::NamedInt: {
        const int32_t* variable = step.named->find();
        if (!variable) return false;
        stack[top++] = *variable;
        break;
      }
      default:
        --top;
        stack[top - 1] = apply(step.op, stack[top - 1], stack[top]);
        break;
    }
  }
  result = stack[0];
  return true;
}

}  // namespace vellum
