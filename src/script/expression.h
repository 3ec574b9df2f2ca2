// Expressions of the native script: a single-pass recursive-descent evaluator over the tokens of
// the text, with no syntax tree. Precedence, lowest first: && & || | ^; comparisons and shifts;
// + -; * / \ %; primaries and prefix runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/expression_lexer.h"
#include "script/numeric_expression.h"
#include "script/value.h"

namespace vellum {

// An expression text read into tokens once, for a line that runs again, and compiled to steps on
// numbers where it is one of the common forms. The text must outlive it.
struct CompiledExpression {
  explicit CompiledExpression(std::string_view source)
      : text(source), tokens(readTokens(source)), numeric(NumericExpression::compile(tokens)) {}
  std::string_view text;
  TokenList tokens;
  std::optional<NumericExpression> numeric;
};

// Evaluates the text. Type -1 for an empty text or after an error (which is reported).
Value evaluate(std::string_view text);
Value evaluate(const CompiledExpression& expression);
// Only the number of the result (what conditions test).
double evaluateNumber(const CompiledExpression& expression);

// The variable named by a text that is exactly one reference ("%name", "%3", "%%1", "%$s"...),
// or nullptr. With `report`, a missing variable is reported.
int32_t* findIntVariable(std::string_view text, bool report = false);
int32_t* findIntVariable(const CompiledExpression& expression, bool report = false);
std::string* findStringVariable(std::string_view text, bool report = false);

}  // namespace vellum
