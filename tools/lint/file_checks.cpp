// Literal file names in the commands that load game files: each must be a file of the data folders
// or a packed game. A name that matches only in another letter case works where the file system
// ignores case and fails on Linux, so it is reported too.
#include <array>

#include "argument_text.h"
#include "checks.h"

namespace vellum::lint {

namespace {

struct FileArgument {
  std::string_view command;
  int index;              // 1-based
  std::string_view kind;  // for the message
  bool maskPart = false;  // "picture?mask" names a mask picture after the '?'
};

constexpr std::array<FileArgument, 13> kFileArguments = {{
    {"sp", 2, "picture", true},
    {"sp_cut", 2, "picture", true},
    {"sp_st", 2, "picture"},
    {"sp_mask", 2, "mask picture"},
    {"sp_ani", 2, "movie or picture"},
    {"sd", 2, "sound"},
    {"sd_load", 2, "sound"},
    {"loadLua", 1, "Lua file"},
    {"loadSqu", 1, "Squirrel file"},
    {"addFontFile", 1, "font"},
    {"setWallPaper", 1, "picture"},
    {"setCursor", 1, "pointer picture"},
    {"effect", 4, "rule picture"},  // only for type 3, the rule-picture transition
}};

// effect names a rule picture only in its rule-picture form; the other forms name a transition.
bool namesAFile(const FileArgument& argument, const std::vector<ArgumentPiece>& pieces) {
  if (argument.command != "effect") return true;
  long type = 0;
  return literalNumber(pieces[0].text, type) && type == 3;
}

void checkOneName(LintContext& context, const ParsedScript& script, const ParsedLine& line, std::string_view kind,
                  const std::string& name, size_t offset) {
  std::string actual;
  switch (context.game.files.find(name, actual)) {
    case DataFiles::Match::Found:
      return;
    case DataFiles::Match::OtherCase:
      context.report(script, line, offset, Severity::Error,
                     std::string(kind) + " \"" + readable(name) + "\" is there only as \"" + readable(actual) +
                         "\"; names are case-sensitive on Linux");
      return;
    case DataFiles::Match::Missing:
      context.report(script, line, offset, Severity::Error,
                     std::string(kind) + " \"" + readable(name) +
                         "\" is in no data folder and no packed game; the engine would report it as missing when "
                         "the line runs");
      return;
  }
}

void checkFileName(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use,
                   const FileArgument& argument, const ArgumentPiece& piece) {
  std::string name;
  if (!quotedLiteral(piece.text, name) || name.empty()) return;
  const size_t offset = use.argumentsOffset + piece.offset;
  const size_t question = argument.maskPart ? name.find('?') : std::string::npos;
  if (question == std::string::npos) {
    checkOneName(context, script, line, argument.kind, name, offset);
    return;
  }
  checkOneName(context, script, line, argument.kind, name.substr(0, question), offset);
  checkOneName(context, script, line, "mask picture", name.substr(question + 1), offset);
}

}  // namespace

void checkFiles(LintContext& context) {
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      for (const CommandUse& use : line.commands) {
        for (const FileArgument& argument : kFileArguments) {
          if (use.name != argument.command) continue;
          const std::vector<ArgumentPiece> pieces = splitArguments(use.arguments);
          if (static_cast<int>(pieces.size()) < argument.index || !namesAFile(argument, pieces)) continue;
          checkFileName(context, script, line, use, argument, pieces[static_cast<size_t>(argument.index - 1)]);
        }
      }
    }
  }
}

}  // namespace vellum::lint
