#include "execution_order.h"

#include <set>

#include "argument_text.h"

namespace vellum::lint {

namespace {

struct Walk {
  const LintContext& context;
  std::set<const ParsedLine*> seen;
  std::vector<LinePlace> order;
  std::vector<LinePlace> pending;  // a stack: the last pushed is reached first

  void push(const ParsedScript* script, size_t index) {
    if (index < script->lines.size()) pending.push_back({script, &script->lines[index]});
  }
  void pushLabel(const std::string& name) {
    const auto found = context.labels.find(name);
    if (found == context.labels.end()) return;
    const LabelPlace& place = found->second;
    push(place.script, static_cast<size_t>(place.line - place.script->lines.data()));
  }

  void run() {
    while (!pending.empty()) {
      const LinePlace place = pending.back();
      pending.pop_back();
      if (!seen.insert(place.line).second) continue;
      order.push_back(place);
      follow(place);
    }
  }

  // The line after this one is reached unless the line always leaves; a called or jumped-to label
  // is reached first.
  void follow(const LinePlace& place) {
    std::vector<std::string> targets;
    bool fallsThrough = true;
    for (const CommandUse& use : place.line->commands) {
      const std::vector<ArgumentPiece> pieces = splitArguments(use.arguments);
      std::string name;
      if ((use.name == "goto" || use.name == "gosub") && !pieces.empty() && literalLabel(pieces[0].text, name))
        targets.push_back(name);
      else if (context.userCommands.count(use.name))
        targets.push_back(use.name);
      if (!use.conditional && (use.name == "goto" || use.name == "end" || use.name == "return"))
        fallsThrough = false;
    }
    const size_t index = static_cast<size_t>(place.line - place.script->lines.data());
    if (fallsThrough) push(place.script, index + 1);
    for (auto it = targets.rbegin(); it != targets.rend(); ++it) pushLabel(*it);
  }
};

const ParsedScript* firstScript(const std::vector<ParsedScript>& scripts) {
  for (const ParsedScript& script : scripts) {
    if (script.source->gamePath == "script/0.txt") return &script;
  }
  return scripts.empty() ? nullptr : &scripts.front();
}

}  // namespace

std::vector<LinePlace> executionOrder(const LintContext& context) {
  Walk walk{context, {}, {}, {}};
  if (const ParsedScript* first = firstScript(context.scripts)) {
    walk.push(first, 0);
    walk.run();
  }
  // Then what only a computed jump, a button or a message reaches: label by label, then the rest.
  for (const ParsedScript& script : context.scripts) {
    for (size_t i = 0; i < script.lines.size(); ++i) {
      if (script.lines[i].role != LineRole::Label) continue;
      walk.push(&script, i);
      walk.run();
    }
  }
  for (const ParsedScript& script : context.scripts) {
    for (size_t i = 0; i < script.lines.size(); ++i) {
      walk.push(&script, i);
      walk.run();
    }
  }
  return walk.order;
}

}  // namespace vellum::lint
