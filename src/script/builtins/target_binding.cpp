#include "script/builtins/target_binding.h"

#include <cstdlib>

#include "script/expression.h"
#include "script/regex/character_model.h"
#include "script/tokenizer.h"
#include "script/variables.h"

namespace vellum {

namespace {

struct Target {
  std::string_view name;
  std::string_view fallback;
  bool hasDefault = false;
};

Target parseTarget(std::string_view text) {
  Target t;
  for (size_t i = 0; i < text.size(); i += regex::characterLength(text, i)) {
    if (text[i] == '=') {
      t.name = trimBlanks(text.substr(0, i));
      t.fallback = trimBlanks(text.substr(i + 1));
      t.hasDefault = true;
      return t;
    }
  }
  t.name = trimBlanks(text);
  return t;
}

// The number a piece of data starts with: decimal (with sign and fraction) or 0x hexadecimal.
int32_t numberIn(std::string_view piece) {
  const std::string text(trimBlanks(piece));
  return toInt32(std::strtod(text.c_str(), nullptr));
}

}  // namespace

void bindPiecesToTargets(const std::vector<std::string_view>& targets, const std::vector<std::string>& pieces) {
  for (size_t i = 0; i < targets.size(); ++i) {
    const Target t = parseTarget(targets[i]);
    const bool havePiece = i < pieces.size();
    if (t.name.size() > 1 && t.name[0] == '$') {
      std::string* variable = findStringVariable(t.name);
      if (!variable) variable = &variables().namedStrings[std::string(trimBlanks(t.name.substr(1)))];
      if (havePiece) {
        *variable = pieces[i];
      } else {
        *variable = t.hasDefault ? evaluate(t.fallback).text : std::string();
      }
    } else if (t.name.size() > 1 && t.name[0] == '%') {
      int32_t* variable = findIntVariable(t.name);
      if (!variable) variable = &variables().namedInts[std::string(trimBlanks(t.name.substr(1)))];
      if (havePiece) {
        *variable = numberIn(pieces[i]);
      } else {
        *variable = t.hasDefault ? toInt32(evaluate(t.fallback).number) : 0;
      }
    }
  }
}

}  // namespace vellum
