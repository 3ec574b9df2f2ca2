// Named variables exist once int or string declares them (getParam also creates its targets, and
// Lua or Squirrel can with newScriptInteger/newScriptString); a use of a name nothing declares stops
// the engine when it is reached, and a use a run reaches before the declaration stops it too.
// Numbered variables (%0, $12) always exist.
#include <cctype>
#include <map>
#include <set>
#include <string_view>

#include "argument_text.h"
#include "checks.h"
#include "execution_order.h"
#include "script/char_classes.h"
#include "script/tokenizer.h"

namespace vellum::lint {

namespace {

// Names carry their sigil: "%gold" is an integer, "$hero" a string.
using Names = std::set<std::string>;

// The name of a declaration piece "name[ = value]", written plainly or quoted.
bool declaredName(std::string_view piece, std::string& name) {
  const size_t equals = piece.find('=');
  const std::string_view text = trimBlanks(piece.substr(0, equals));
  if (quotedLiteral(text, name)) return !name.empty();
  if (text.empty() || !chars::is(chars::kName, text[0])) return false;
  name = std::string(text);
  return true;
}

size_t nameEnd(std::string_view text, size_t start) {
  size_t end = start;
  while (end < text.size()) {
    if (chars::is(chars::kLeadByte, text[end])) end += 2;
    else if (chars::is(chars::kName, text[end])) ++end;
    else break;
  }
  return std::min(end, text.size());
}

// What int, string and getParam on the line declare.
std::vector<std::string> declarationsOf(const ParsedLine& line) {
  std::vector<std::string> names;
  for (const CommandUse& use : line.commands) {
    std::string name;
    if (use.name == "int" || use.name == "string") {
      for (const ArgumentPiece& piece : splitArguments(use.arguments)) {
        if (declaredName(piece.text, name)) names.push_back((use.name == "int" ? "%" : "$") + name);
      }
    } else if (use.name == "getParam") {
      for (const ArgumentPiece& piece : splitArguments(use.arguments)) {
        const std::string_view target = trimBlanks(piece.text.substr(0, piece.text.find('=')));
        if (target.size() > 1 && (target[0] == '%' || target[0] == '$')) names.emplace_back(target);
      }
    }
  }
  return names;
}

// The quoted name of a call `KIND  ( "name"` starting at `at` (any spaces between), or empty.
std::string_view quotedArgument(std::string_view text, size_t at) {
  auto skipSpaces = [&] {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  };
  skipSpaces();
  if (at >= text.size() || text[at] != '(') return {};
  ++at;
  skipSpaces();
  if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) return {};
  const size_t start = ++at;
  while (at < text.size() && text[at] != '"' && text[at] != '\'') ++at;
  return at < text.size() ? text.substr(start, at - start) : std::string_view();
}

// newScriptInteger("name") and newScriptString('name') in the Lua and Squirrel files.
void collectVmDeclarations(const LintContext& context, Names& declared) {
  static constexpr std::string_view kCall = "newScript";
  for (const VmSource& file : context.game.vmFiles) {
    const std::string_view text = file.bytes;
    for (size_t at = text.find(kCall); at != std::string_view::npos; at = text.find(kCall, at + 1)) {
      const std::string_view rest = text.substr(at + kCall.size());
      const bool integer = rest.starts_with("Integer");
      if (!integer && !rest.starts_with("String")) continue;
      const std::string_view name = quotedArgument(rest, integer ? 7 : 6);
      if (!name.empty()) declared.insert((integer ? "%" : "$") + std::string(name));
    }
  }
}

// A '%' after an operand is the remainder operator, not a variable.
bool followsOperand(std::string_view text, size_t at) {
  while (at > 0 && chars::is(chars::kBlank, text[at - 1])) --at;
  if (at == 0) return false;
  const char c = text[at - 1];
  return c == ')' || (chars::is(chars::kName, c) && c != '.');
}

struct VariableUse {
  std::string name;  // with its sigil
  size_t offset;     // in the line
};

// The named variables the command's arguments read, outside quotes.
std::vector<VariableUse> usesOf(const CommandUse& use) {
  std::vector<VariableUse> uses;
  const std::string_view text = use.arguments;
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (chars::is(chars::kLeadByte, c)) {
      ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == '%' || c == '$') && !(c == '%' && followsOperand(text, i))) {
      const size_t end = nameEnd(text, i + 1);
      if (end > i + 1 && !chars::is(chars::kDigit, text[i + 1]))
        uses.push_back({std::string(text.substr(i, end - i)), use.argumentsOffset + i});
    }
  }
  return uses;
}

std::string declarationHint(const std::string& name) {
  return (name[0] == '%' ? "int " : "string ") + readable(name.substr(1));
}

struct Declarations {
  Names anywhere;                                // by any line or VM file
  std::map<std::string, LinePlace> firstReached; // the declaring line a run reaches first
};

void reportUse(LintContext& context, const LinePlace& place, const VariableUse& use, const Declarations& declarations) {
  const std::string shown = readable(use.name);
  if (!declarations.anywhere.count(use.name)) {
    context.report(*place.script, *place.line, use.offset, Severity::Error,
                   shown + " is not declared anywhere; declare it with " + declarationHint(use.name) +
                       "; the engine reports \"変数が存在しません\" (no such variable) when the line runs");
    return;
  }
  const auto first = declarations.firstReached.find(use.name);
  if (first == declarations.firstReached.end()) return;  // declared only in Lua or Squirrel
  context.report(*place.script, *place.line, use.offset, Severity::Warning,
                 shown + " is used before a run reaches its declaration (" + declarationHint(use.name) + " at " +
                     first->second.script->source->displayPath + ":" +
                     std::to_string(first->second.line->number) + "); declare it earlier");
}

}  // namespace

void checkVariables(LintContext& context) {
  const std::vector<LinePlace> order = executionOrder(context);
  Declarations declarations;
  collectVmDeclarations(context, declarations.anywhere);
  const Names declaredOutside = declarations.anywhere;
  for (const LinePlace& place : order) {
    for (const std::string& name : declarationsOf(*place.line)) {
      declarations.anywhere.insert(name);
      declarations.firstReached.try_emplace(name, place);
    }
  }
  Names declaredSoFar = declaredOutside;
  for (const LinePlace& place : order) {
    Names reported;  // one report per name and line
    for (const CommandUse& use : place.line->commands) {
      if (use.name == "getParam") continue;  // its targets are declarations
      for (const VariableUse& variable : usesOf(use)) {
        if (declaredSoFar.count(variable.name) || !reported.insert(variable.name).second) continue;
        reportUse(context, place, variable, declarations);
      }
    }
    for (const std::string& name : declarationsOf(*place.line)) declaredSoFar.insert(name);
  }
}

}  // namespace vellum::lint
