#include "commands/script_function_call.h"

#include "base/engine_state.h"
#include "base/report.h"
#include "script/expression.h"
#include "script/script_messages.h"

namespace vellum {

bool readScriptFunctionCall(const ScriptFunction& entry, ScriptFunctionCall& call) {
  setCurrentCommandName(entry.name);
  call.passed = call.list.size();
  if (entry.resultKind == 0) return true;
  // The last argument names the variable the result goes to.
  const std::string output = call.passed > 0 ? call.list.raw.back() : std::string();
  --call.passed;
  if (entry.resultKind == 1 && !(call.intResult = findIntVariable(output))) {
    errorc(ReportText().sjis(messages::kBadIntVariable), true);
    return false;
  }
  if (entry.resultKind == 2 && !(call.stringResult = findStringVariable(output))) {
    errorc(ReportText().sjis(messages::kBadStringVariable), true);
    return false;
  }
  return true;
}

}  // namespace vellum
