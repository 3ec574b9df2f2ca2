// Lua and Squirrel files are compiled only when loadLua or loadSqu runs them; the checker compiles
// every one of the data folders first, with the same compilers (Lua's luaL_loadbuffer and the
// engine's own Squirrel compiler).
#include <cstdlib>

#include <lua.hpp>
#include <vellum/squirrel.h>

#include "checks.h"

namespace vellum::lint {

namespace {

// Lua's message is "NAME:LINE: what"; the name is the file's path.
void checkLua(Findings& findings, const VmSource& file) {
  lua_State* L = luaL_newstate();
  if (!L) return;
  const std::string chunk = "=" + file.displayPath;
  if (luaL_loadbuffer(L, file.bytes.data(), file.bytes.size(), chunk.c_str()) != LUA_OK) {
    std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "does not compile";
    int line = 0;
    const std::string prefix = file.displayPath + ":";
    if (message.starts_with(prefix)) {
      const size_t colon = message.find(':', prefix.size());
      if (colon != std::string::npos) {
        line = std::atoi(message.substr(prefix.size(), colon - prefix.size()).c_str());
        message = message.substr(colon + 1);
        if (message.starts_with(" ")) message.erase(0, 1);
      }
    }
    findings.add(file.displayPath, line, 0, Severity::Error, "Lua: " + message);
  }
  lua_close(L);
}

struct SquirrelError {
  std::string message;
  int line = 0;
  int column = 0;
};

SquirrelError* pendingSquirrelError = nullptr;

void recordSquirrelError(HSQUIRRELVM, const SQChar* description, const SQChar*, SQInteger line, SQInteger column) {
  if (!pendingSquirrelError) return;
  pendingSquirrelError->message = description ? description : "does not compile";
  pendingSquirrelError->line = static_cast<int>(line);
  pendingSquirrelError->column = static_cast<int>(column);
}

void checkSquirrel(Findings& findings, const VmSource& file) {
  HSQUIRRELVM vm = sq_open(1024);
  SquirrelError error;
  pendingSquirrelError = &error;
  sq_setcompilererrorhandler(vm, recordSquirrelError);
  const bool compiled = sq_compilebuffer(vm, file.bytes.data(), static_cast<SQInteger>(file.bytes.size()),
                                         file.displayPath.c_str(), SQTrue) >= 0;
  pendingSquirrelError = nullptr;
  sq_close(vm);
  if (!compiled)
    findings.add(file.displayPath, error.line, error.column, Severity::Error, "Squirrel: " + error.message);
}

}  // namespace

void checkVmFiles(LintContext& context) {
  for (const VmSource& file : context.game.vmFiles) {
    if (file.language == VmLanguage::Lua) checkLua(context.findings, file);
    else checkSquirrel(context.findings, file);
  }
}

}  // namespace vellum::lint
