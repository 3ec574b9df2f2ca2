// Tokens of script expressions. A text is read into a token list once; a lexer walks a list one
// token at a time, so a list kept beside a script line serves every later run of that line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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
  size_t start = 0;  // where the token starts in the text
  size_t end = 0;    // just after it

  bool is(char op) const { return kind == TokenKind::Operator && text.size() == 1 && text[0] == op; }
};

// Every token of a text from `from` on, closed by an End token at the text's end.
using TokenList = std::vector<Token>;
TokenList readTokens(std::string_view text, size_t from = 0);

class ExpressionLexer {
 public:
  // Reads the text's tokens now.
  explicit ExpressionLexer(std::string_view input) : input_(input), own_(readTokens(input)), tokens_(&own_) {}
  // Walks tokens read earlier from this same text; they must outlive the lexer.
  ExpressionLexer(std::string_view input, const TokenList& tokens) : input_(input), tokens_(&tokens) {}

  // Moves to the next token and returns it as current().
  const Token& next() {
    if (!started_) {
      started_ = true;
    } else if (index_ + 1 < tokens_->size()) {
      ++index_;
    }
    return current();
  }
  const Token& current() const { return started_ ? (*tokens_)[index_] : kBeforeFirst; }
  // The text not yet read (after the current token).
  std::string_view rest() const { return input_.substr(position()); }
  std::string_view input() const { return input_; }
  size_t position() const { return started_ ? current().end : 0; }
  // Where the current token starts in the text.
  size_t currentStart() const { return started_ ? current().start : 0; }
  // Continues reading at `position` (reads the token there).
  const Token& seek(size_t position);

 private:
  static const Token kBeforeFirst;
  std::string_view input_;
  TokenList own_;
  const TokenList* tokens_;
  size_t index_ = 0;
  bool started_ = false;
};

}  // namespace vellum
