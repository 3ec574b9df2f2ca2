#include "script/variable_commands.h"

#include <string>
#include <string_view>

#include "script/script_commands.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/assignment.h"
#include "script/expression.h"
#include "script/script_messages.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "script/variables.h"

namespace vellum {

namespace {

std::string_view argumentText(const char* text, int length) {
  return std::string_view(text, static_cast<size_t>(length));
}

// A reference written plainly (%name) or quoted ("%name").
std::string_view unquoted(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The named variable a "%name" or "$name" text designates, by its sigil.
bool namedVariableExists(std::string_view reference) {
  reference = unquoted(reference);
  if (reference.size() < 2) return false;
  const std::string name(trimBlanks(reference.substr(1)));
  const VariableStore& store = variables();
  if (reference[0] == '%') return store.namedInts.count(name) > 0;
  if (reference[0] == '$') return store.namedStrings.count(name) > 0;
  return false;
}

void eraseNamedVariable(std::string_view reference) {
  reference = unquoted(reference);
  if (reference.size() < 2) return;
  const std::string name(trimBlanks(reference.substr(1)));
  VariableStore& store = variables();
  if (reference[0] == '%') {
    auto found = store.namedInts.find(name);
    if (found == store.namedInts.end()) return;
    // A loop counting with this variable must not keep a pointer to it.
    for (LoopFrame& loop : scriptState().loopFrames) {
      if (loop.variable == &found->second) loop.variable = nullptr;
    }
    store.namedInts.erase(found);
    noteNamedIntErased();
  } else if (reference[0] == '$') {
    store.namedStrings.erase(name);
  }
}

void intCommand(const char* text, int length) { declareIntegers(argumentText(text, length)); }
void stringCommand(const char* text, int length) { declareStrings(argumentText(text, length)); }
void calCommand(const char* text, int length) { assign(argumentText(text, length)); }

void variableExistCommand(const char* text, int length) {
  const auto pieces = splitSegments(argumentText(text, length), ',', false);
  int32_t* answer = pieces.empty() ? nullptr : findIntVariable(pieces[0], true);
  if (!answer) {
    errorc(ReportText().gbk(argumentText(text, length)).ascii(" ").sjis(messages::kBadIntVariable), true);
    return;
  }
  *answer = pieces.size() > 1 && namedVariableExists(pieces[1]) ? 1 : 0;
}

void variableEraseCommand(const char* text, int length) { eraseNamedVariable(argumentText(text, length)); }

bool isNameArgument(void* call, int i) { return args().type(call, i) == args().stringType; }

}  // namespace

void provideVariableCommands() {
  provideCommand("int", &intCommand);
  provideCommand("string", &stringCommand);
  provideCommand("variableExist", &variableExistCommand);
  provideCommand("variableErase", &variableEraseCommand);
  provideCommand("cal", &calCommand);
}

int setScriptIntegerBody(void* call) {
  const int32_t value = args().getInt(call, 2);
  VariableStore& store = variables();
  if (isNameArgument(call, 1)) {
    auto found = store.namedInts.find(stringArgument(call, 1));
    if (found == store.namedInts.end()) {
      args().returnNothing(call);
      return 1;
    }
    found->second = value;
  } else {
    const int32_t index = args().getInt(call, 1);
    if (index < 0 || index >= kNumberedVariables) {
      args().returnNothing(call);
      return 1;
    }
    store.ints[static_cast<size_t>(index)] = value;
  }
  args().returnInt(call, 0, value);
  return 1;
}

int getScriptIntegerBody(void* call) {
  VariableStore& store = variables();
  if (isNameArgument(call, 1)) {
    auto found = store.namedInts.find(stringArgument(call, 1));
    if (found == store.namedInts.end()) {
      args().returnNothing(call);
    } else {
      args().returnInt(call, 0, found->second);
    }
  } else {
    const int32_t index = args().getInt(call, 1);
    if (index < 0 || index >= kNumberedVariables) {
      args().returnNothing(call);
    } else {
      args().returnInt(call, 0, store.ints[static_cast<size_t>(index)]);
    }
  }
  return 1;
}

namespace {

// The string named (or numbered) by argument 1, or nullptr when there is none.
std::string* scriptStringArgument(void* call) {
  VariableStore& store = variables();
  if (isNameArgument(call, 1)) {
    auto found = store.namedStrings.find(stringArgument(call, 1));
    return found != store.namedStrings.end() ? &found->second : nullptr;
  }
  const int32_t index = args().getInt(call, 1);
  return index >= 0 && index < kNumberedVariables ? &store.strings[static_cast<size_t>(index)] : nullptr;
}

}  // namespace

int setScriptStringBody(void* call) {
  const std::string value = stringArgument(call, 2);
  std::string* target = scriptStringArgument(call);
  if (!target) {
    args().returnNothing(call);
    return 1;
  }
  *target = value;
  args().returnBytes(call, 0, target->data(), target->size());
  return 1;
}

int getScriptStringBody(void* call) {
  if (const std::string* source = scriptStringArgument(call)) {
    args().returnBytes(call, 0, source->data(), source->size());
  } else {
    args().returnNothing(call);
  }
  return 1;
}

int newScriptIntegerBody(void* call) {
  declareIntegers(stringArgument(call, 1));
  args().returnNothing(call);
  return 1;
}

int newScriptStringBody(void* call) {
  declareStrings(stringArgument(call, 1));
  args().returnInt(call, 0, 1);
  return 1;
}

int variableExistBody(void* call) {
  args().returnInt(call, 0, namedVariableExists(stringArgument(call, 1)) ? 1 : 0);
  return 1;
}

int variableEraseBody(void* call) {
  eraseNamedVariable(stringArgument(call, 1));
  args().returnNothing(call);
  return 1;
}

}  // namespace vellum
