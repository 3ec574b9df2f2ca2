// Labels as the label pass reads them: a bad byte or a second label of a name stops start-up, and a
// "*name" line inside a message block is story text.
#include <map>

#include "checks.h"

namespace vellum::lint {

namespace {

std::string placeOf(const LabelPlace& place) {
  return place.script->source->displayPath + ":" + std::to_string(place.line->number);
}

void checkLabelName(LintContext& context, const ParsedScript& script, const ParsedLine& line) {
  const size_t bad = line.badLabelByte;
  const size_t width = bad + 1 < line.text.size() && static_cast<unsigned char>(line.text[bad]) >= 0x80 ? 2 : 1;
  context.report(script, line, bad, Severity::Error,
                 "'" + readable(line.text.substr(bad, width)) +
                     "' may not be in a label name (ASCII letters, digits, '_', '.', '@' and double-byte "
                     "characters may); start-up would stop with \"ラベル名が不正です\" (invalid label name)");
}

}  // namespace

void checkLabels(LintContext& context) {
  for (const ParsedScript& script : context.scripts) {
    int blockStart = 0;
    for (const ParsedLine& line : script.lines) {
      if (line.role == LineRole::MessageStart) blockStart = line.number;
      if (line.role == LineRole::InvalidLabel) {
        checkLabelName(context, script, line);
      } else if (line.role == LineRole::Label) {
        const LabelPlace& first = context.labels.at(line.labelName);
        if (first.line != &line)
          context.report(script, line, 0, Severity::Error,
                         "label *" + readable(line.labelName) + " is already defined at " + placeOf(first) +
                             "; start-up would stop with \"ラベルが重複しています\" (duplicate label)");
      } else if (line.role == LineRole::MessageLine && !line.text.empty() && line.text[0] == '*') {
        context.report(script, line, 0, Severity::Warning,
                       "'" + readable(line.text) +
                           "' is inside the message block that starts at line " + std::to_string(blockStart) +
                           " (a block runs to the next empty line), so it is story text, not a label; put an "
                           "empty line before it");
      }
    }
  }
}

}  // namespace vellum::lint
