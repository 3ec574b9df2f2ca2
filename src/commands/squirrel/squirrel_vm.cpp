#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include <vellum/squirrel_std.h>

#include "script/arg_accessor.h"
#include "commands/arg_list.h"
#include "script/command_registry.h"
#include "commands/script_function_call.h"
#include "commands/squirrel/squirrel_binding.h"
#include "commands/squirrel/squirrel_messages.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "platform/quit_signals.h"
#include "script/builtins/script_paths.h"
#include "script/builtins/text_file_reader.h"
#include "script/expression.h"
#include "script/script_messages.h"
#include "squirrel/standard_libraries.h"
#include "squirrel/stdlib/library_support.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

constexpr SQInteger kInitialStack = 1024;
// Each print or error call formats at most this many bytes.
constexpr size_t kLongestMessage = 255;
// SquirrelMessages keeps the newest text up to this size.
constexpr size_t kMessagesCapacity = 64 * 1024;

struct SquirrelState {
  HSQUIRRELVM vm = nullptr;
  int running = 0;  // Squirrel calls in progress from the engine
  bool closeRequested = false;
  std::string messages;
};

SquirrelState squirrel;

void appendMessage(HSQUIRRELVM, const SQChar* format, ...) {
  char text[kLongestMessage + 1];
  va_list list;
  va_start(list, format);
  const int n = std::vsnprintf(text, sizeof text, format, list);
  va_end(list);
  if (n <= 0) return;
  std::string& messages = squirrel.messages;
  messages.append(text, std::min(static_cast<size_t>(n), kLongestMessage));
  if (messages.size() > kMessagesCapacity) messages.erase(0, messages.size() - kMessagesCapacity);
}

// loadfile and dofile read game scripts as loadSqu does: from the archives or loose in the game
// folder. A name that is neither is the script's error to catch, not a report.
bool readGameScript(std::string_view path, std::string& bytes) {
  const StorageState& files = storage();
  const uint64_t key = crc64Of(path);
  const bool archived = files.archivesPresent && key != 0 && files.archives.count(key) > 0;
  std::error_code ec;
  if (!archived && !std::filesystem::is_regular_file(scriptPathToFileSystem(path), ec)) return false;
  return readTextFile(path, bytes);
}

// Every engine command reached from Squirrel: the body and the name ride along as free variables,
// which are taken off the stack before the body counts its arguments.
SQInteger callCommand(HSQUIRRELVM v) {
  SQUserPointer body = nullptr;
  sq_getuserpointer(v, -2, &body);
  const SQChar* name = nullptr;
  sq_getstring(v, -1, &name);
  setCurrentCommandName(name ? name : "");
  sq_pop(v, 2);
  const ArgAccessor saved = args();
  useSquirrel(v);
  const int results = reinterpret_cast<CommandBody>(body)(v);
  args() = saved;
  // A script that loops over drawing commands still ends when the player or the system asks the
  // engine to quit: the call fails up to our caller, which reports nothing then.
  if (quitRequested()) return sq_throwerror(v, "quit");
  return results > 0 ? 1 : 0;
}

void registerCommand(HSQUIRRELVM v, std::string_view name, CommandBody body) {
  sq_pushroottable(v);
  sq_pushstring(v, name.data(), static_cast<SQInteger>(name.size()));
  sq_pushuserpointer(v, reinterpret_cast<SQUserPointer>(body));
  sq_pushstring(v, name.data(), static_cast<SQInteger>(name.size()));
  sq_newclosure(v, &callCommand, 2);
  sq_setnativeclosurename(v, -1, std::string(name).c_str());
  sq_newslot(v, -3, SQFalse);
  sq_poptop(v);
}

HSQUIRRELVM createVM() {
  HSQUIRRELVM v = sq_open(kInitialStack);
  if (!v) return nullptr;
  sq_setprintfunc(v, &appendMessage, &appendMessage);
  // The io and system libraries open files under the game folder, like the rest of the engine.
  sqstd::setPathMapper(&scriptPathToFileSystem);
  sqstd::setScriptReader(&readGameScript);
  registerSquirrelStandardLibraries(v);
  sqstd_seterrorhandlers(v);
  forEachVmCommand([v](std::string_view name, CommandBody body) { registerCommand(v, name, body); });
  return v;
}

void closeNow() {
  if (!squirrel.vm) return;
  sq_close(squirrel.vm);
  squirrel.vm = nullptr;
  squirrel.closeRequested = false;
}

// The VM's message text for a report: what its print and error functions wrote, or else the last
// error it holds. Reported once, so the buffer starts empty again.
std::string takeMessages(HSQUIRRELVM v) {
  std::string text;
  text.swap(squirrel.messages);
  if (text.empty() && v) {
    sq_getlasterror(v);
    const SQChar* last = nullptr;
    if (sq_gettype(v, -1) == OT_STRING && SQ_SUCCEEDED(sq_getstring(v, -1, &last)) && last) text = last;
    sq_poptop(v);
  }
  return text;
}

void report(std::string_view before, std::string_view fixed, HSQUIRRELVM v) {
  if (quitRequested()) {
    // The call was unwound for the quit; that is no script error.
    squirrel.messages.clear();
    return;
  }
  errorc(ReportText().gbk(before).sjis(fixed).gbk(takeMessages(v)), true);
}

// A failed script file closes the VM (later, when a call on it is still running).
void reportAndClose(const std::string& path, std::string_view fixed, HSQUIRRELVM v) {
  report(path, fixed, v);
  closeSquirrelVM();
}

// Calls the closure below its `this` and parameters as the Squirrel binding. False on failure.
bool runCall(HSQUIRRELVM v, SQInteger parameters, bool withResult) {
  // Commands the script runs take over CurrentCommandName; a report after the call names ours.
  const std::string command = engine().currentCommandName;
  const ArgAccessor saved = args();
  const bool switchBinding = saved.binding != Binding::Squirrel;
  if (switchBinding) useSquirrel(v);
  ++squirrel.running;
  const SQRESULT result = sq_call(v, parameters, withResult ? SQTrue : SQFalse, SQTrue);
  --squirrel.running;
  if (switchBinding) args() = saved;
  setCurrentCommandName(command);
  return SQ_SUCCEEDED(result);
}

// Squirrel code is running on the VM: a call of ours, or one a plug-in made itself.
bool busy() {
  if (squirrel.running > 0) return true;
  SQStackInfos frame{};
  return squirrel.vm && SQ_SUCCEEDED(sq_stackinfos(squirrel.vm, 0, &frame));
}

// A deferred close happens once the outermost call is back.
void closeIfRequested() {
  if (squirrel.closeRequested && !busy()) closeNow();
}

void pushNumber(HSQUIRRELVM v, double number) {
  // Whole numbers arrive as integers, so arithmetic and string results look like the script's.
  if (number >= -9.2e18 && number <= 9.2e18 && number == std::trunc(number)) {
    sq_pushinteger(v, static_cast<SQInteger>(number));
  } else {
    sq_pushfloat(v, static_cast<SQFloat>(number));
  }
}

void squirrelFunctionCaller(ScriptFunction& entry, const char* arguments, int length) {
  ScriptFunctionCall call(std::string_view(arguments, static_cast<size_t>(length)));
  if (!readScriptFunctionCall(entry, call)) return;
  const ArgList& list = call.list;
  const int passed = call.passed;
  int32_t* const intResult = call.intResult;
  std::string* const stringResult = call.stringResult;
  HSQUIRRELVM v = ensureSquirrelVM();
  if (!v) return;
  if (squirrel.running == 0) squirrel.messages.clear();
  const SQInteger top = sq_gettop(v);
  sq_pushroottable(v);
  sq_pushstring(v, entry.name.data(), static_cast<SQInteger>(entry.name.size()));
  if (SQ_FAILED(sq_get(v, -2))) {
    sq_settop(v, top);
    report("", messages::kSquirrelGetFailed, v);
    return;
  }
  sq_remove(v, -2);     // the root table below the closure
  sq_pushroottable(v);  // this
  for (int i = 1; i <= passed; ++i) {
    const Value& value = *list.valueAt(i);
    if (value.type == kStringValue) {
      sq_pushstring(v, value.text.data(), static_cast<SQInteger>(value.text.size()));
    } else if (value.type == kNumberValue) {
      pushNumber(v, value.number);
    } else {
      sq_settop(v, top);
      errorc(ReportText().sjis(messages::kBadArgumentType), true);
      return;
    }
  }
  const bool ok = runCall(v, passed + 1, entry.resultKind != 0);
  if (!ok) {
    report("", messages::kSquirrelCallFailed, v);
    sq_settop(v, top);
    closeIfRequested();
    return;
  }
  if (intResult) {
    SQInteger n = 0;
    SQFloat f = 0;
    if (sq_gettype(v, -1) == OT_FLOAT && SQ_SUCCEEDED(sq_getfloat(v, -1, &f))) {
      *intResult = toInt32(static_cast<double>(f));
    } else if (SQ_SUCCEEDED(sq_getinteger(v, -1, &n))) {
      *intResult = static_cast<int32_t>(n);
    } else {
      *intResult = 0;
    }
  }
  if (stringResult) {
    const SQChar* text = nullptr;
    SQInteger size = 0;
    if (sq_gettype(v, -1) == OT_STRING && SQ_SUCCEEDED(sq_getstringandsize(v, -1, &text, &size)) && text) {
      stringResult->assign(text, static_cast<size_t>(size));
    } else {
      errorc(ReportText().sjis(messages::kResultNotString), true);
    }
  }
  sq_settop(v, top);
  closeIfRequested();
}

}  // namespace

HSQUIRRELVM squirrelVM() { return squirrel.vm; }

HSQUIRRELVM ensureSquirrelVM() {
  closeIfRequested();  // ended by a call the engine did not make itself
  if (!squirrel.vm) squirrel.vm = createVM();
  return squirrel.vm;
}

void closeSquirrelVM() {
  if (busy()) {
    squirrel.closeRequested = true;  // never free the VM under a running call
  } else {
    closeNow();
  }
}

void resetSquirrel() {
  squirrel.running = 0;
  closeNow();
  squirrel = SquirrelState{};
  sqstd::setPathMapper(nullptr);
  sqstd::setScriptReader(nullptr);
}

std::string& squirrelMessages() { return squirrel.messages; }

ReportText squirrelContext(const ReportText& message) {
  ReportText text;
  text.gbk(engine().currentCommandName).ascii(" ").add(message);
  auto v = static_cast<HSQUIRRELVM>(args().vm);
  if (!v) return text;
  const std::string& folder = engine().exeDirectory;
  SQStackInfos level{};
  for (SQInteger depth = 1; SQ_SUCCEEDED(sq_stackinfos(v, depth, &level)); ++depth) {
    std::string_view source = level.source ? level.source : "";
    if (!folder.empty() && source.substr(0, folder.size()) == folder) source.remove_prefix(folder.size());
    // Lines are shown as the 32-bit unsigned number they are, so a native level's -1 reads 4294967295.
    text.ascii("\n\t")
        .gbk(source)
        .ascii(":")
        .ascii(std::to_string(static_cast<uint32_t>(level.line)))
        .ascii(": ")
        .gbk(level.funcname ? level.funcname : "unknown");  // the VM names nameless functions "unknown" too
  }
  return text;
}

int loadSquBody(void* call) {
  size_t length = 0;
  const char* pathText = args().getStringLength(call, 1, &length);
  const std::string path(pathText, length);
  std::string text;
  if (!readScriptSource(path, text)) return 0;
  HSQUIRRELVM v = ensureSquirrelVM();
  if (!v) return 0;
  if (squirrel.running == 0) squirrel.messages.clear();
  const SQInteger top = sq_gettop(v);
  if (SQ_FAILED(sq_compilebuffer(v, text.data(), static_cast<SQInteger>(text.size()), path.c_str(), SQTrue))) {
    sq_settop(v, top);
    reportAndClose(path, messages::kSquirrelCannotCompile, v);
    return 0;
  }
  sq_pushroottable(v);
  const bool ok = runCall(v, 1, false);
  sq_settop(v, top);
  if (!ok) {
    reportAndClose(path, messages::kSquirrelCannotRun, v);
    return 0;
  }
  closeIfRequested();
  return 0;
}

void funcSquCommand(const char* arguments, int length) {
  ArgList list(std::string_view(arguments, static_cast<size_t>(length)));
  if (list.size() < 1) return;
  const std::string& name = list.values[0].text;
  ScriptFunction& entry = commandTables().scriptFunctions[crc32Of(name)];
  entry.name = name;
  entry.resultKind = list.size() > 1 ? toInt32(list.values[1].number) : 0;
  entry.caller = &squirrelFunctionCaller;
}

}  // namespace vellum
