// The context errorc puts around a report: the native script's call stack and position, or the
// traceback of the Lua or Squirrel VM that is running the command.
#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "commands/lua/lua_binding.h"
#include "commands/squirrel/squirrel_binding.h"
#include "script/script_state.h"

namespace vellum {

namespace {

// Message, the caller of each live frame oldest first, then the current position and command.
ReportText nativeContext(const ReportText& message) {
  const ScriptState& s = scriptState();
  ReportText text;
  if (s.currentUserCommand) text.gbk(*s.currentUserCommand).ascii(" ");
  text.add(message).ascii("\r\n");
  for (size_t i = 0; i < s.callFrames.size(); ++i) {
    auto name = s.fileNames.find(s.callerKeys[i]);
    text.gbk(name != s.fileNames.end() ? name->second : std::string())
        .ascii("[")
        .number(s.callFrames[i].resumeLine + 1)
        .ascii("]\r\n");
  }
  text.gbk(s.slots[s.cursor.slot].displayName)
      .ascii("[")
      .number(s.cursor.line + 1)
      .ascii("] ")
      .gbk(engine().currentCommandName);
  return text;
}

ReportText runningBindingContext(const ReportText& message) {
  switch (args().binding) {
    case Binding::Lua: return luaContext(message);
    case Binding::Squirrel: return squirrelContext(message);
    case Binding::Native: break;
  }
  return nativeContext(message);
}

// The report's slot is constant-initialised, so it can be filled while the program starts.
[[maybe_unused]] const bool registered = (setScriptContextFormatter(&runningBindingContext), true);

}  // namespace

}  // namespace vellum
