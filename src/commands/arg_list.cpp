#include "commands/arg_list.h"

#include "script/expression.h"
#include "script/tokenizer.h"

namespace vellum {

ArgList::ArgList(std::string_view text) {
  if (trimBlanks(text).empty()) return;  // no arguments at all
  for (std::string_view piece : splitSegments(text, ',', false)) {
    raw.emplace_back(piece);
    values.push_back(evaluate(piece));
  }
}

}  // namespace vellum
