#include "script/expression.h"

#include "script/evaluator.h"

namespace vellum {

Value evaluate(std::string_view text) { return Evaluator(text).evaluateAll(); }

namespace {

template <typename T, typename Reference>
T* findVariable(std::string_view text, char sigil, bool report, Reference reference) {
  Evaluator evaluator(text, report);
  ExpressionLexer& lexer = evaluator.lexer();
  if (!lexer.next().is(sigil)) return nullptr;
  lexer.next();
  T* variable = (evaluator.*reference)();
  // Exactly one reference and nothing after it.
  return variable && lexer.current().kind == TokenKind::End ? variable : nullptr;
}

}  // namespace

int32_t* findIntVariable(std::string_view text, bool report) {
  return findVariable<int32_t>(text, '%', report, &Evaluator::intReference);
}

std::string* findStringVariable(std::string_view text, bool report) {
  return findVariable<std::string>(text, '$', report, &Evaluator::stringReference);
}

}  // namespace vellum
