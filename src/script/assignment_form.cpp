#include "script/assignment_form.h"

#include "script/tokenizer.h"
#include "script/variables.h"

namespace vellum {

namespace {

// "%name" or "%N" followed by "=", "op=", "<<=" or ">>=", read token for token as the evaluator
// and the assignment's own operator reading do.
std::optional<PlainTarget> readPlainTarget(const TokenList& tokens) {
  size_t i = 0;
  auto at = [&tokens](size_t k) -> const Token& { return tokens[k < tokens.size() ? k : tokens.size() - 1]; };
  if (!at(i++).is('%')) return std::nullopt;
  PlainTarget target;
  const Token& reference = at(i++);
  if (reference.kind == TokenKind::Identifier) {
    if (reference.text.empty()) return std::nullopt;
    target.named.emplace(reference.text);
  } else if (reference.kind == TokenKind::Number) {
    const int32_t index = toInt32(reference.number);
    if (index < 0 || index >= kNumberedVariables || index != reference.number) return std::nullopt;
    target.index = static_cast<size_t>(index);
  } else {
    return std::nullopt;
  }
  const Token& first = at(i++);
  if (!first.is('=')) {
    if (first.kind != TokenKind::Operator) return std::nullopt;
    const char c = first.text[0];
    if (c == '<' || c == '>') {
      if (!at(i++).is(c)) return std::nullopt;
      target.op = std::string(2, c);
    } else if (std::string_view("+-*/%\\&|^").find(c) != std::string_view::npos) {
      target.op = std::string(1, c);
    } else {
      return std::nullopt;
    }
    if (!at(i++).is('=')) return std::nullopt;
  }
  target.valueStart = at(i - 1).end;
  return target;
}

}  // namespace

AssignmentItem::AssignmentItem(std::string_view text) : item(text), plainTarget(readPlainTarget(item.tokens)) {}

const CompiledExpression& AssignmentItem::compileValue(size_t start) {
  value.emplace(item.text.substr(start));
  valueStart = start;
  return *value;
}

AssignmentForm::AssignmentForm(const void* formKind, std::string_view text) : ArgumentForm(formKind) {
  for (std::string_view item : splitSegments(text, ',', false)) {
    if (!item.empty()) items.emplace_back(item);
  }
}

}  // namespace vellum
