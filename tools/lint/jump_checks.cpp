// Targets that name a label (goto, gosub, return, defsub, the message subroutines) or a script line
// (fileJump). A literal target is checked; a computed one can only be pointed out.
#include "argument_text.h"
#include "checks.h"

namespace vellum::lint {

namespace {

constexpr const char* kNoSuchLabel =
    "; the engine reports \"ラベルが存在しません\" (no such label) when the line runs";

// Where in the line the piece starts.
size_t offsetOf(const CommandUse& use, const ArgumentPiece& piece) { return use.argumentsOffset + piece.offset; }

void checkLabelTarget(LintContext& context, const ParsedScript& script, const ParsedLine& line,
                      const CommandUse& use, const ArgumentPiece& piece) {
  std::string name;
  if (!literalLabel(piece.text, name)) {
    context.report(script, line, offsetOf(use, piece), Severity::Note,
                   use.name + ": the target '" + readable(piece.text) + "' is computed and cannot be checked");
    return;
  }
  if (!context.labels.count(name))
    context.report(script, line, offsetOf(use, piece), Severity::Error,
                   use.name + ": no label *" + readable(name) + kNoSuchLabel);
}

void checkDefsub(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use,
                 const ArgumentPiece& piece) {
  const std::string name(piece.text);
  if (!context.labels.count(name))
    context.report(script, line, offsetOf(use, piece), Severity::Error,
                   "defsub " + readable(name) + ": no label *" + readable(name) + " for the command to run" +
                       kNoSuchLabel);
}

void checkFileJump(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use,
                   const std::vector<ArgumentPiece>& pieces) {
  std::string path;
  long target = 0;
  if (pieces.size() < 2 || !quotedLiteral(pieces[0].text, path) || !literalNumber(pieces[1].text, target)) {
    context.report(script, line, use.argumentsOffset, Severity::Note,
                   "fileJump: the target is computed and cannot be checked");
    return;
  }
  for (const ParsedScript& other : context.scripts) {
    if (other.source->gamePath != path) continue;
    if (target < 1 || target > static_cast<long>(other.lines.size()))
      context.report(script, line, offsetOf(use, pieces[1]), Severity::Error,
                     "fileJump: " + readable(path) + " has lines 1 to " + std::to_string(other.lines.size()) +
                         ", not " + std::to_string(target));
    return;
  }
  context.report(script, line, offsetOf(use, pieces[0]), Severity::Error,
                 "fileJump: no script " + readable(path) + " (script files are named script/NAME as packed)");
}

void checkCommand(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use) {
  const std::vector<ArgumentPiece> pieces = splitArguments(use.arguments);
  if (use.name == "goto" || use.name == "gosub" || use.name == "preMessGosub" || use.name == "sufMessGosub") {
    if (pieces.empty()) {
      context.report(script, line, use.nameOffset, Severity::Error, use.name + " needs a label" + kNoSuchLabel);
      return;
    }
    checkLabelTarget(context, script, line, use, pieces.front());
  } else if (use.name == "return") {
    if (!pieces.empty()) checkLabelTarget(context, script, line, use, pieces.front());
  } else if (use.name == "defsub") {
    if (!pieces.empty()) checkDefsub(context, script, line, use, pieces.front());
  } else if (use.name == "fileJump") {
    checkFileJump(context, script, line, use, pieces);
  }
}

}  // namespace

void checkJumps(LintContext& context) {
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      for (const CommandUse& use : line.commands) checkCommand(context, script, line, use);
    }
  }
}

}  // namespace vellum::lint
