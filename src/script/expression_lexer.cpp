#include "script/expression_lexer.h"

#include <algorithm>

#include <vellum/exports.h>

#include "script/char_classes.h"

namespace vellum {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

// Reads the token at `position` (after blanks) and moves `position` past it.
Token readToken(std::string_view input, size_t& position) {
  Token token;
  while (position < input.size() && isSpace(input[position])) ++position;
  token.start = position;
  if (position >= input.size()) {
    token.end = position;
    return token;
  }
  const size_t start = position;
  const char c = input[position];
  if (chars::is(chars::kDigit, c)) {
    token.kind = TokenKind::Number;
    if (position + 1 < input.size() && input[position + 1] == 'x') {
      position += 2;
      const size_t digits = position;
      while (position < input.size() && chars::is(chars::kHex, input[position])) ++position;
      token.text = std::string(input.substr(start, position - start));
      token.number = static_cast<double>(atoi16(std::string(input.substr(digits, position - digits)).c_str()));
    } else {
      while (position < input.size() && chars::is(chars::kDecimal, input[position])) ++position;
      token.text = std::string(input.substr(start, position - start));
      token.number = atod10(token.text.c_str());
    }
  } else if (chars::is(chars::kLabelName, c) || chars::is(chars::kLeadByte, c)) {
    token.kind = TokenKind::Identifier;
    while (position < input.size()) {
      const char b = input[position];
      if (chars::is(chars::kLeadByte, b)) {
        position = std::min(position + 2, input.size());
      } else if (chars::is(chars::kLabelName, b)) {
        ++position;
      } else {
        break;
      }
    }
    token.text = std::string(input.substr(start, position - start));
  } else if (c == '"' || c == '\'') {
    token.kind = TokenKind::Identifier;
    ++position;
    const size_t body = position;
    while (position < input.size() && input[position] != c) {
      position += chars::is(chars::kLeadByte, input[position]) ? 2 : 1;
    }
    position = std::min(position, input.size());
    token.text = std::string(input.substr(body, position - body));
    if (position < input.size()) ++position;  // the closing quote
  } else {
    token.kind = TokenKind::Operator;
    token.text = std::string(1, c);
    ++position;
  }
  token.end = position;
  return token;
}

}  // namespace

const Token ExpressionLexer::kBeforeFirst{};

TokenList readTokens(std::string_view text, size_t from) {
  TokenList tokens;
  size_t position = std::min(from, text.size());
  do {
    tokens.push_back(readToken(text, position));
  } while (tokens.back().kind != TokenKind::End);
  return tokens;
}

const Token& ExpressionLexer::seek(size_t position) {
  position = std::min(position, input_.size());
  size_t at = position;
  while (at < input_.size() && isSpace(input_[at])) ++at;
  // Usually a token of the list starts there; otherwise the text is read afresh from there.
  auto found = std::find_if(tokens_->begin(), tokens_->end(), [at](const Token& t) { return t.start == at; });
  if (found == tokens_->end()) {
    own_ = readTokens(input_, position);
    tokens_ = &own_;
    found = own_.begin();
  }
  index_ = static_cast<size_t>(found - tokens_->begin());
  started_ = true;
  return current();
}

}  // namespace vellum
