// The commonest expressions compiled to steps on numbers: decimal and hexadecimal numbers, integer
// variables (%name, %3), parentheses and the binary operators, with the evaluator's precedence and
// arithmetic. Anything else (strings, prefix signs, conversions, byte reads, labels, nested
// references, text after the expression) is not compiled, and the evaluator runs instead.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "script/expression_lexer.h"
#include "script/named_int_reference.h"

namespace vellum {

class NumericExpression {
 public:
  static std::optional<NumericExpression> compile(const TokenList& tokens);

  // False when a named variable does not exist: the caller then runs the evaluator, which reports
  // it exactly as before (evaluation has no other effect).
  bool evaluate(double& result) const;

  enum class Op : unsigned char {
    Number, NamedInt, NumberedInt,
    Multiply, Divide, IntegerDivide, Remainder, Add, Subtract,
    ShiftLeft, ShiftRight, Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual,
    And, Or, BitAnd, BitOr, BitXor,
  };
  struct Step {
    Op op;
    double number = 0;                       // Number
    size_t index = 0;                        // NumberedInt
    std::optional<NamedIntReference> named;  // NamedInt
  };

 private:
  std::vector<Step> steps_;  // postfix order
  size_t depth_ = 0;         // the most values on the stack at once
};

}  // namespace vellum
