#include "script/expression.h"

#include "script/evaluator.h"

namespace vellum {

Value evaluate(std::string_view text) { return Evaluator(text).evaluateAll(); }

Value evaluate(const CompiledExpression& expression) {
  Value value;
  if (expression.numeric && expression.numeric->evaluate(value.number)) {
    value.type = kNumberValue;
    return value;
  }
  return Evaluator(expression.text, expression.tokens).evaluateAll();
}

double evaluateNumber(const CompiledExpression& expression) {
  double number = 0;
  if (expression.numeric && expression.numeric->evaluate(number)) return number;
  return Evaluator(expression.text, expression.tokens).evaluateAll().number;
}

namespace {

template <typename T, typename Reference>
T* findVariable(Evaluator& evaluator, char sigil, Reference reference) {
  ExpressionLexer& lexer = evaluator.lexer();
  if (!lexer.next().is(sigil)) return nullptr;
  lexer.next();
  T* variable = (evaluator.*reference)();
  // Exactly one reference and nothing after it.
  return variable && lexer.current().kind == TokenKind::End ? variable : nullptr;
}

}  // namespace

int32_t* findIntVariable(std::string_view text, bool report) {
  Evaluator evaluator(text, report);
  return findVariable<int32_t>(evaluator, '%', &Evaluator::intReference);
}

int32_t* findIntVariable(const CompiledExpression& expression, bool report) {
  Evaluator evaluator(expression.text, expression.tokens, report);
  return findVariable<int32_t>(evaluator, '%', &Evaluator::intReference);
}

std::string* findStringVariable(std::string_view text, bool report) {
  Evaluator evaluator(text, report);
  return findVariable<std::string>(evaluator, '$', &Evaluator::stringReference);
}

}  // namespace vellum
