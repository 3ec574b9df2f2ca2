// The message subroutine runs at a message's waits, and a message waits only where setMessLine
// says (at line ends, at empty lines) or at an inline '@' or '\'. With a subroutine set and none
// of these, every page runs on without waiting for the player.
#include "argument_text.h"
#include "checks.h"
#include "script/char_classes.h"

namespace vellum::lint {

namespace {

bool setsMessageSubroutine(const CommandUse& use) { return use.name == "sufMessGosub" || use.name == "preMessGosub"; }

// setMessLine 0, 0 is the default, which never waits; anything else (or a computed value) may.
bool configuresWait(const CommandUse& use) {
  if (use.name != "setMessLine") return false;
  for (const ArgumentPiece& piece : splitArguments(use.arguments)) {
    long value = 0;
    if (!literalNumber(piece.text, value) || value != 0) return true;
  }
  return false;
}

bool hasInlineWait(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (chars::is(chars::kLeadByte, text[i])) ++i;
    else if (text[i] == '@' || text[i] == '\\') return true;
  }
  return false;
}

bool isStoryText(const ParsedLine& line) {
  return line.commands.empty() && (line.role == LineRole::MessageStart || line.role == LineRole::MessageLine);
}

}  // namespace

void checkMessageWaits(LintContext& context) {
  const ParsedScript* firstScript = nullptr;
  const ParsedLine* firstLine = nullptr;
  size_t offset = 0;
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      if (isStoryText(line) && hasInlineWait(line.text)) return;
      for (const CommandUse& use : line.commands) {
        if (configuresWait(use)) return;
        if (setsMessageSubroutine(use) && !firstLine) {
          firstScript = &script;
          firstLine = &line;
          offset = use.nameOffset;
        }
      }
    }
  }
  if (!firstLine) return;
  context.report(*firstScript, *firstLine, offset, Severity::Warning,
                 "a message subroutine is set, but no message ever waits, so every page runs on without waiting "
                 "for the player: no setMessLine sets a wait (its first argument waits at each line end, its "
                 "second at each empty line; 0, 0 is the default and never waits) and no story text has an "
                 "inline '@' or '\\' wait; add, for example, setMessLine 0, 2");
}

}  // namespace vellum::lint
