#include "script/control_forms.h"

#include "script/tokenizer.h"

namespace vellum {

ConditionForm::ConditionForm(const void* formKind, std::string_view text)
    : ArgumentForm(formKind), condition(text), blank(trimBlanks(text).empty()) {}

LoopHeadForm::LoopHeadForm(const void* formKind, std::string_view text) : ArgumentForm(formKind) {
  for (std::string_view piece : splitSegments(text, ',', false)) pieces.emplace_back(piece);
}

}  // namespace vellum
