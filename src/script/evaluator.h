// The expression evaluator, shared by evaluate(), the variable look-ups and the assignment command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/expression_lexer.h"
#include "script/value.h"

namespace vellum {

class Evaluator {
 public:
  // With `report`, missing variables and bad byte widths are reported through the error path.
  explicit Evaluator(std::string_view text, bool report = true) : lexer_(text), text_(text), report_(report) {}
  // Walks tokens read earlier from the same text (see readTokens).
  Evaluator(std::string_view text, const TokenList& tokens, bool report = true)
      : lexer_(text, tokens), text_(text), report_(report) {}

  // The whole text as one expression (type -1 when empty or after an error).
  Value evaluateAll();
  // One expression from the current token on (the lexer must have read its first token).
  Value expression() { return logical(); }

  // A variable reference starting at the current token (the one after the sigil). Leaves the
  // lexer at the token after the reference. nullptr when the variable does not exist.
  int32_t* intReference();
  std::string* stringReference();

  ExpressionLexer& lexer() { return lexer_; }
  bool failed() const { return failed_; }

 private:
  Value logical();
  Value comparison();
  Value additive();
  Value multiplicative();
  Value primary();
  Value prefixRun(bool startsWithNot);
  Value toStringConversion();
  Value toNumberConversion();
  Value byteRead();
  Value labelReference();
  int variableIndex(double number);
  void fail(std::string_view sjisMessage);

  ExpressionLexer lexer_;
  std::string_view text_;
  bool report_;
  bool failed_ = false;
};

}  // namespace vellum
