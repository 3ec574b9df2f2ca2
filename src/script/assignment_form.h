// A cal argument compiled once: its non-empty comma-separated items, each read into tokens, and the
// value expression after each item's operator once it has been found.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "script/expression.h"
#include "script/line_cache.h"

namespace vellum {

struct AssignmentItem {
  explicit AssignmentItem(std::string_view text) : item(text) {}

  // The value expression: the item's text from `start` on. Which text that is follows from the
  // item's tokens, so it is compiled the first time and kept while `start` stays the same.
  const CompiledExpression& valueFrom(size_t start);

  CompiledExpression item;
  std::optional<CompiledExpression> value;
  size_t valueStart = 0;
};

struct AssignmentForm : ArgumentForm {
  AssignmentForm(const void* formKind, std::string_view items);
  std::vector<AssignmentItem> items;
};

}  // namespace vellum
