// Tokens of script expressions, read one at a time from the front of the text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace vellum {

enum class TokenKind {
  End,         // no more input
  Number,      // decimal or 0x hexadecimal
  Identifier,  // a run of label-name bytes and double-byte characters, or a quoted string
  Operator,    // any other single byte
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // the token's bytes (a quoted string without its quotes)
  double number = 0;

  bool is(char op) const { return kind == TokenKind::Operator && text.size() == 1 && text[0] == op; }
};

class ExpressionLexer {
 public:
  explicit ExpressionLexer(std::string_view input) : input_(input) {}

  // Reads the next token into current().
  const Token& next();
  const Token& current() const { return current_; }
  // The text not yet read (after the current token).
  std::string_view rest() const { return input_.substr(position_); }
  std::string_view input() const { return input_; }
  size_t position() const { return position_; }
  // Where the current token starts in the text.
  size_t currentStart() const { return currentStart_; }
  // Continues reading at `position` (reads the token there).
  const Token& seek(size_t position) {
    position_ = std::min(position, input_.size());
    return next();
  }

 private:
  std::string_view input_;
  size_t position_ = 0;
  size_t currentStart_ = 0;
  Token current_;
};

}  // namespace vellum
