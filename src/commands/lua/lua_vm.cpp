#include <string>
#include <string_view>

#include <vellum/exports.h>

#include "script/arg_accessor.h"
#include "commands/arg_list.h"
#include "script/command_registry.h"
#include "commands/script_function_call.h"
#include "commands/lua/lua_binding.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "platform/quit_signals.h"
#include "script/expression.h"
#include "script/script_messages.h"
#include "storage/hashes.h"
#include "script/builtins/text_file_reader.h"

namespace vellum {

void openLuaStringAdditions(lua_State* L);

namespace {

struct LuaState {
  lua_State* vm = nullptr;
  int running = 0;          // Lua calls in progress
  bool closeRequested = false;
};

LuaState lua;

// How often, in Lua instructions, a running script looks for a quit request.
constexpr int kQuitCheckInstructions = 1000;

// The error object that unwinds a script when the engine quits: no report, no traceback.
char quitSentinel;

[[noreturn]] void unwindForQuit(lua_State* L) {
  lua_pushlightuserdata(L, &quitSentinel);
  lua_error(L);
  __builtin_unreachable();
}

bool isQuitUnwind(lua_State* L, int index) { return lua_touserdata(L, index) == &quitSentinel; }

// A script that only loops (or only calls drawing commands) still ends when the player or the
// system asks the engine to quit. A command that stops the engine itself (`end`, a failure) lets
// the chunk run on as before: the interpreter stops after the command that ran it.
void quitHook(lua_State* L, lua_Debug*) {
  if (quitRequested()) unwindForQuit(L);
}

// Every engine command reached from Lua: the body and the name ride along as upvalues.
int callCommand(lua_State* L) {
  const auto body = reinterpret_cast<CommandBody>(lua_touserdata(L, lua_upvalueindex(1)));
  setCurrentCommandName(lua_tostring(L, lua_upvalueindex(2)));
  const ArgAccessor saved = args();
  useLua(L);
  const int results = body(L);
  args() = saved;
  if (quitRequested()) unwindForQuit(L);
  return results;
}

void registerGlobal(lua_State* L, std::string_view name, CommandBody body) {
  lua_pushlightuserdata(L, reinterpret_cast<void*>(body));
  lua_pushlstring(L, name.data(), name.size());
  lua_pushcclosure(L, &callCommand, 2);
  lua_setglobal(L, std::string(name).c_str());
}

lua_State* createVM() {
  lua_State* L = luaL_newstate();
  if (!L) return nullptr;
  luaL_openlibs(L);
  openLuaStringAdditions(L);
  forEachVmCommand([L](std::string_view name, CommandBody body) { registerGlobal(L, name, body); });
  lua_sethook(L, &quitHook, LUA_MASKCOUNT, kQuitCheckInstructions);
  return L;
}

void closeNow() {
  if (!lua.vm) return;
  lua_gc(lua.vm, LUA_GCCOLLECT, 0);
  lua_close(lua.vm);
  lua.vm = nullptr;
  lua.closeRequested = false;
}

// The handler of the standalone interpreter: a traceback behind a string error; other error
// objects become their __tostring text, or "(no error message)".
int messageHandler(lua_State* L) {
  if (isQuitUnwind(L, 1)) return 1;
  const char* message = lua_tostring(L, 1);
  if (!message) {
    if (luaL_callmeta(L, 1, "__tostring") && lua_type(L, -1) == LUA_TSTRING) return 1;
    message = "(no error message)";
  }
  luaL_traceback(L, L, message, 1);
  return 1;
}

// Reports the error object on the top and closes the VM.
void reportErrorAndClose(lua_State* L) {
  const char* message = lua_tostring(L, -1);
  errorc(ReportText().gbk(message ? message : "(error object is not a string)"), true);
  lua_pop(L, 1);
  closeNow();
}

// Runs the function on the stack (below its arguments) in protected mode as the Lua binding.
bool protectedCall(lua_State* L, int arguments, int results, bool withHandler) {
  int handler = 0;
  if (withHandler) {
    handler = lua_gettop(L) - arguments;
    lua_pushcfunction(L, &messageHandler);
    lua_insert(L, handler);
  }
  // Commands the chunk runs take over CurrentCommandName; a report after the call names ours.
  const std::string command = engine().currentCommandName;
  const ArgAccessor saved = args();
  const bool switchBinding = saved.binding != Binding::Lua;
  if (switchBinding) useLua(L);
  ++lua.running;
  const int status = lua_pcall(L, arguments, results, handler);
  --lua.running;
  if (switchBinding) args() = saved;
  setCurrentCommandName(command);
  if (withHandler) lua_remove(L, handler);
  if (status != LUA_OK && isQuitUnwind(L, -1)) {
    // The engine is quitting: nothing to report.
    lua_pop(L, 1);
    if (lua.closeRequested && lua.running == 0) closeNow();
    return false;
  }
  if (status != LUA_OK) {
    reportErrorAndClose(L);
    return false;
  }
  if (lua.closeRequested && lua.running == 0) closeNow();
  return true;
}

void luaFunctionCaller(ScriptFunction& entry, const char* arguments, int length) {
  ScriptFunctionCall call(std::string_view(arguments, static_cast<size_t>(length)));
  if (!readScriptFunctionCall(entry, call)) return;
  const ArgList& list = call.list;
  const int passed = call.passed;
  int32_t* const intResult = call.intResult;
  std::string* const stringResult = call.stringResult;
  lua_State* L = ensureLuaVM();
  if (!L) return;
  const int base = lua_gettop(L);
  lua_getglobal(L, entry.name.c_str());
  for (int i = 1; i <= passed; ++i) {
    const Value& v = *list.valueAt(i);
    if (v.type == kStringValue) {
      lua_pushlstring(L, v.text.data(), v.text.size());
    } else if (v.type == kNumberValue) {
      lua_pushnumber(L, v.number);
    } else {
      errorc(ReportText().sjis(messages::kBadArgumentType), true);
      lua_settop(L, base);
      return;
    }
  }
  if (!protectedCall(L, passed, entry.resultKind ? 1 : 0, false)) return;
  if (!lua.vm) return;
  if (intResult) *intResult = toInt32(lua_tonumber(L, -1));
  if (stringResult) {
    size_t n = 0;
    const char* text = lua_tolstring(L, -1, &n);
    stringResult->assign(text ? text : "", text ? n : 0);
  }
  if (entry.resultKind) lua_pop(L, 1);
}

}  // namespace

lua_State* luaVM() { return lua.vm; }

lua_State* ensureLuaVM() {
  if (!lua.vm) lua.vm = createVM();
  return lua.vm;
}

void closeLuaVM() {
  if (lua.running > 0) {
    lua.closeRequested = true;  // never free the state under a running call
  } else {
    closeNow();
  }
}

void resetLua() {
  lua.running = 0;
  closeNow();
  lua = LuaState{};
}

ReportText luaContext(const ReportText& message) {
  ReportText text;
  text.gbk(engine().currentCommandName).ascii(" ").add(message);
  auto* L = static_cast<lua_State*>(args().vm);
  if (!L) return text;
  const std::string& folder = engine().exeDirectory;
  lua_Debug level;
  for (int depth = 1; lua_getstack(L, depth, &level); ++depth) {
    lua_getinfo(L, "nSl", &level);
    std::string_view source = level.source ? level.source : "";
    if (!source.empty() && source.front() == '@') source.remove_prefix(1);
    if (!folder.empty() && source.substr(0, folder.size()) == folder) source.remove_prefix(folder.size());
    text.ascii("\n\t").gbk(source).ascii(":").number(level.currentline).ascii(": ").gbk(level.name ? level.name : "main");
  }
  return text;
}

int loadLuaBody(void* call) {
  size_t length = 0;
  const char* pathText = args().getStringLength(call, 1, &length);
  const std::string path(pathText, length);
  std::string text;
  if (!readScriptSource(path, text)) return 0;
  lua_State* L = ensureLuaVM();
  if (!L) return 0;
  const std::string chunkName = "@" + engine().exeDirectory + path;
  if (luaL_loadbuffer(L, text.data(), text.size(), chunkName.c_str()) != LUA_OK) {
    reportErrorAndClose(L);
    return 0;
  }
  protectedCall(L, 0, 0, true);
  return 0;
}

void funcLuaCommand(const char* arguments, int length) {
  ArgList list(std::string_view(arguments, static_cast<size_t>(length)));
  if (list.size() < 1) return;
  const std::string& name = list.values[0].text;
  ScriptFunction& entry = commandTables().scriptFunctions[crc32Of(name)];
  entry.name = name;
  entry.resultKind = list.size() > 1 ? toInt32(list.values[1].number) : 0;
  entry.caller = &luaFunctionCaller;
}

}  // namespace vellum
