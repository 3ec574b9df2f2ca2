#include "script/expression_lexer.h"

#include <algorithm>

#include <vellum/exports.h>

#include "script/char_classes.h"

namespace vellum {

const Token& ExpressionLexer::next() {
  Token token;
  while (position_ < input_.size() && (input_[position_] == ' ' || input_[position_] == '\t')) ++position_;
  currentStart_ = position_;
  if (position_ >= input_.size()) {
    current_ = token;
    return current_;
  }
  const size_t start = position_;
  const char c = input_[position_];
  if (chars::is(chars::kDigit, c)) {
    token.kind = TokenKind::Number;
    if (position_ + 1 < input_.size() && input_[position_ + 1] == 'x') {
      position_ += 2;
      const size_t digits = position_;
      while (position_ < input_.size() && chars::is(chars::kHex, input_[position_])) ++position_;
      token.text = std::string(input_.substr(start, position_ - start));
      token.number = static_cast<double>(atoi16(std::string(input_.substr(digits, position_ - digits)).c_str()));
    } else {
      while (position_ < input_.size() && chars::is(chars::kDecimal, input_[position_])) ++position_;
      token.text = std::string(input_.substr(start, position_ - start));
      token.number = atod10(token.text.c_str());
    }
  } else if (chars::is(chars::kLabelName, c) || chars::is(chars::kLeadByte, c)) {
    token.kind = TokenKind::Identifier;
    while (position_ < input_.size()) {
      const char b = input_[position_];
      if (chars::is(chars::kLeadByte, b)) {
        position_ = std::min(position_ + 2, input_.size());
      } else if (chars::is(chars::kLabelName, b)) {
        ++position_;
      } else {
        break;
      }
    }
    token.text = std::string(input_.substr(start, position_ - start));
  } else if (c == '"' || c == '\'') {
    token.kind = TokenKind::Identifier;
    ++position_;
    const size_t body = position_;
    while (position_ < input_.size() && input_[position_] != c) {
      position_ += chars::is(chars::kLeadByte, input_[position_]) ? 2 : 1;
    }
    position_ = std::min(position_, input_.size());
    token.text = std::string(input_.substr(body, position_ - body));
    if (position_ < input_.size()) ++position_;  // the closing quote
  } else {
    token.kind = TokenKind::Operator;
    token.text = std::string(1, c);
    ++position_;
  }
  current_ = std::move(token);
  return current_;
}

}  // namespace vellum
