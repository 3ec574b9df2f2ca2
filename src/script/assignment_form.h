// A cal argument compiled once: its non-empty comma-separated items, each read into tokens, and the
// value expression after each item's operator once it has been found.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/expression.h"
#include "script/line_cache.h"
#include "script/named_int_reference.h"

namespace vellum {

// An item that starts with a plain integer variable and an operator ("%name +=", "%3 ="): what
// the evaluator would read there, kept. The variable is still looked up on every run.
struct PlainTarget {
  std::optional<NamedIntReference> named;  // none for a numbered variable
  size_t index = 0;
  std::string op;    // the operator without its '=' ("" for plain '=')
  size_t valueStart = 0;
};

struct AssignmentItem {
  explicit AssignmentItem(std::string_view text);

  // The value expression: the item's text from `start` on. Which text that is follows from the
  // item's tokens, so it is compiled the first time and kept while `start` stays the same.
  const CompiledExpression& valueFrom(size_t start) {
    return value && valueStart == start ? *value : compileValue(start);
  }
  const CompiledExpression& compileValue(size_t start);

  CompiledExpression item;
  std::optional<PlainTarget> plainTarget;
  std::optional<CompiledExpression> value;
  size_t valueStart = 0;
};

struct AssignmentForm : ArgumentForm {
  AssignmentForm(const void* formKind, std::string_view items);
  std::vector<AssignmentItem> items;
};

}  // namespace vellum
