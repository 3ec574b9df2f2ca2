// Every command a line names must be one the engine has: in the catalogue, or made by defsub,
// funcLua or funcSqu. Story text that starts with an ASCII letter is read as a command line, so an
// unknown command that reads like prose is said to be story text. Argument counts are held against
// the command reference.
#include "argument_text.h"
#include "checks.h"
#include "command_signatures.h"
#include "script/char_classes.h"

namespace vellum::lint {

namespace {

constexpr const char* kUnknownCommand =
    "the engine reports \"这是未对应的命令\" (unknown command) when the line runs";

bool isWordByte(char c) { return chars::isAsciiLetter(static_cast<unsigned char>(c)) || c == '\''; }

// A line of prose: its first two words are words of letters ("Hello there, ..."), where a command's
// arguments start with a number, a quote, a variable or a label.
bool readsLikeProse(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && isWordByte(line[i])) ++i;
  const size_t firstEnd = i;
  while (i < line.size() && (line[i] == ' ' || line[i] == ':' || line[i] == ',')) ++i;
  if (i == firstEnd || line.substr(firstEnd, i - firstEnd).find(' ') == std::string_view::npos) return false;
  size_t word = i;
  while (i < line.size() && isWordByte(line[i])) ++i;
  return i > word && (i == line.size() || line[i] == '.' || !chars::is(chars::kName, line[i]));
}

bool isKnown(const LintContext& context, const CommandUse& use) {
  return use.name.empty() || isCataloguedCommand(use.name) || context.userCommands.count(use.name);
}

// True when the line was reported as story text; its other commands are then not looked at.
bool checkStoryText(LintContext& context, const ParsedScript& script, const ParsedLine& line) {
  const CommandUse& use = line.commands.front();
  if (isKnown(context, use) || !readsLikeProse(line.text)) return false;
  context.report(script, line, use.nameOffset, Severity::Error,
                 "this reads like story text, but a line that starts with an ASCII letter is a command line: '" +
                     readable(use.name) + "' is taken for a command; " + kUnknownCommand +
                     ", and a ':' would split the line; begin story text with a character that is not an ASCII "
                     "letter");
  return true;
}

void checkName(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use) {
  if (isKnown(context, use)) return;
  context.report(script, line, use.nameOffset, Severity::Error,
                 "unknown command '" + readable(use.name) + "'; " + kUnknownCommand);
}

void checkCount(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use) {
  const std::optional<ArgumentRange> range = argumentRange(use.name);
  if (!range || context.userCommands.count(use.name)) return;
  const int count = static_cast<int>(splitArguments(use.arguments).size());
  if (count >= range->least && count <= range->most) return;
  const std::string expected = range->least == range->most
                                   ? std::to_string(range->least)
                                   : std::to_string(range->least) + " to " + std::to_string(range->most);
  context.report(script, line, use.nameOffset, Severity::Error,
                 use.name + " takes " + expected + " argument" + (range->most == 1 ? "" : "s") + ", not " +
                     std::to_string(count));
}

}  // namespace

void checkCommands(LintContext& context) {
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      if (line.commands.empty() || checkStoryText(context, script, line)) continue;
      for (const CommandUse& use : line.commands) {
        checkName(context, script, line, use);
        if (isCataloguedCommand(use.name)) checkCount(context, script, line, use);
      }
    }
  }
}

}  // namespace vellum::lint
