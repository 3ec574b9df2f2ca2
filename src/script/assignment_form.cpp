#include "script/assignment_form.h"

#include "script/tokenizer.h"

namespace vellum {

const CompiledExpression& AssignmentItem::valueFrom(size_t start) {
  if (!value || valueStart != start) {
    value.emplace(item.text.substr(start));
    valueStart = start;
  }
  return *value;
}

AssignmentForm::AssignmentForm(const void* formKind, std::string_view text) : ArgumentForm(formKind) {
  for (std::string_view item : splitSegments(text, ',', false)) {
    if (!item.empty()) items.emplace_back(item);
  }
}

}  // namespace vellum
