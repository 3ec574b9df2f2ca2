// Named variables exist once int or string declares them (getParam also creates its targets, and
// Lua or Squirrel can with newScriptInteger/newScriptString); a use of a name nothing declares stops
// the engine when it is reached. Numbered variables (%0, $12) always exist.
#include <regex>
#include <set>

#include "argument_text.h"
#include "checks.h"
#include "script/char_classes.h"
#include "script/tokenizer.h"

namespace vellum::lint {

namespace {

struct Declared {
  std::set<std::string> ints;
  std::set<std::string> strings;
  std::set<std::string>& of(char sigil) { return sigil == '%' ? ints : strings; }
};

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

void collectScriptDeclarations(const LintContext& context, Declared& declared) {
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      for (const CommandUse& use : line.commands) {
        std::string name;
        if (use.name == "int" || use.name == "string") {
          for (const ArgumentPiece& piece : splitArguments(use.arguments)) {
            if (declaredName(piece.text, name)) declared.of(use.name == "int" ? '%' : '$').insert(name);
          }
        } else if (use.name == "getParam") {
          for (const ArgumentPiece& piece : splitArguments(use.arguments)) {
            const std::string_view target = trimBlanks(piece.text.substr(0, piece.text.find('=')));
            if (target.size() > 1 && (target[0] == '%' || target[0] == '$'))
              declared.of(target[0]).insert(std::string(target.substr(1)));
          }
        }
      }
    }
  }
}

// newScriptInteger("name") and newScriptString('name') in the Lua and Squirrel files.
void collectVmDeclarations(const LintContext& context, Declared& declared) {
  static const std::regex call(R"(newScript(Integer|String)\s*\(\s*["']([^"']+)["'])");
  for (const VmSource& file : context.game.vmFiles) {
    for (auto it = std::sregex_iterator(file.bytes.begin(), file.bytes.end(), call); it != std::sregex_iterator();
         ++it) {
      declared.of((*it)[1] == "Integer" ? '%' : '$').insert((*it)[2]);
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

void checkUses(LintContext& context, const ParsedScript& script, const ParsedLine& line, const CommandUse& use,
               Declared& declared, std::set<std::string>& reported) {
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
      const std::string name(text.substr(i + 1, end - i - 1));
      if (name.empty() || chars::is(chars::kDigit, name[0]) || declared.of(c).count(name)) continue;
      if (!reported.insert(std::string(1, c) + name).second) continue;
      context.report(script, line, use.argumentsOffset + i, Severity::Error,
                     std::string(1, c) + readable(name) + " is not declared anywhere; declare it with " +
                         (c == '%' ? "int " : "string ") + readable(name) +
                         "; the engine reports \"変数が存在しません\" (no such variable) when the line runs");
    }
  }
}

}  // namespace

void checkVariables(LintContext& context) {
  Declared declared;
  collectScriptDeclarations(context, declared);
  collectVmDeclarations(context, declared);
  for (const ParsedScript& script : context.scripts) {
    for (const ParsedLine& line : script.lines) {
      std::set<std::string> reported;  // one report per name and line
      for (const CommandUse& use : line.commands) {
        if (use.name != "getParam") checkUses(context, script, line, use, declared, reported);
      }
    }
  }
}

}  // namespace vellum::lint
