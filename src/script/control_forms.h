// The compiled arguments of if/elseif (the condition) and for (its comma-separated pieces).
#pragma once

#include <string_view>
#include <vector>

#include "script/expression.h"
#include "script/line_cache.h"

namespace vellum {

struct ConditionForm : ArgumentForm {
  ConditionForm(const void* formKind, std::string_view text);
  CompiledExpression condition;
  bool blank;  // nothing but blanks: reported on every run
};

struct LoopHeadForm : ArgumentForm {
  LoopHeadForm(const void* formKind, std::string_view text);
  std::vector<CompiledExpression> pieces;  // variable, start, end[, step]
};

}  // namespace vellum
