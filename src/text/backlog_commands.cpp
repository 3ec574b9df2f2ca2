// The backlog's, the read flags' and the auto/skip modes' commands.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/read_mode.h"
#include "script/script_state.h"
#include "shell/shell_hooks.h"
#include "text/backlog.h"
#include "text/image_log.h"
#include "text/message_window.h"

namespace vellum {

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }
// A result goes to the position after the arguments.
int result(void* call, int32_t value) {
  args().returnInt(call, args().count[1](call), value);
  return 1;
}
// A text field of an entry, read up to its NUL or its end.
int textResult(void* call, const char* field, size_t capacity) {
  args().returnBytes(call, args().count[1](call), field, strnlen(field, capacity));
  return 1;
}

// ---- modes -------------------------------------------------------------------------------------

int setAutoBody(void* call) {
  setCurrentCommandName("setAuto");
  setAutoMode(intArg(call, 1));
  return noResult(call);
}

int setSkipBody(void* call) {
  setCurrentCommandName("setSkip");
  setSkipMode(intArg(call, 1));
  return noResult(call);
}

int getModeBody(void* call) {
  setCurrentCommandName("getMode");
  const ScriptState& s = scriptState();
  return result(call, s.fastForwardMode * 16 + (s.fastForwardTargetKey != 0 ? 8 : 0) + modeBits());
}

int getSkipBody(void* call) {
  setCurrentCommandName("getSkip");
  return result(call, modeBits() >> 1);
}

int setWindowVisibleBody(void* call) {
  setCurrentCommandName("setWindowVisible");
  readMode().windowVisible = intArg(call, 1);
  if (readMode().windowVisible == 0) removeButtonTooltip();
  return noResult(call);
}

int getWindowVisibleBody(void* call) {
  setCurrentCommandName("getWindowVisible");
  return result(call, readMode().windowVisible);
}

int getAlreadyReadBody(void* call) {
  setCurrentCommandName("getAlreadyRead");
  return result(call, readMode().currentMessageRead);
}

// Kept for scripts that ask; read state is per message, so both values are 0.
int getAlreadyReadFlagBody(void* call) {
  setCurrentCommandName("getAlreadyReadFlag");
  args().returnInt(call, 1, 0);
  args().returnInt(call, 2, 0);
  return 2;
}

// ---- the backlog -------------------------------------------------------------------------------

// Where a page written by setLog resumes: the message being waited on, else the outermost
// subroutine's caller, else the line after this one.
void recordSetLogOrigin(BacklogEntry& entry) {
  ScriptState& s = scriptState();
  if (s.messageWaited != 0) {
    entry.originKey = s.otherFileKey;
    entry.originLine = static_cast<uint16_t>(entry.originLine - 1);
  } else if (!s.callFrames.empty()) {
    entry.originKey = s.callerKeys.front();
    entry.originLine = static_cast<uint16_t>(s.callFrames.front().resumeLine - 1);
  } else {
    entry.originKey = 0;
    entry.originLine = static_cast<uint16_t>(s.cursor.line + 1);
  }
}

int setLogBody(void* call) {
  setCurrentCommandName("setLog");
  BacklogState& log = backlog();
  BacklogEntry& entry = log.current();
  const std::string text = stringArgument(call, 1);
  const size_t at = intArg(call, 3) != 0 ? strnlen(entry.text, sizeof entry.text - 1) : 0;
  log.writeOffset = static_cast<int>(writeWholeCharacters(entry.text, sizeof entry.text, at, text));
  messageWindow().backlogOffset = static_cast<size_t>(log.writeOffset);
  entry.rows = static_cast<uint8_t>(std::clamp(intArg(call, 2), 0, 255));
  recordSetLogOrigin(entry);
  entry.pushDepth = log.savePushDepth;
  entry.saveFlag = log.saveFlag;
  scriptState().fastForwardTargetKey = 0;
  scriptState().fastForwardTargetLine = 0;
  return noResult(call);
}

// The entry n pages back, or null after reporting a distance outside the ring.
const BacklogEntry* entryBack(void* call) {
  const int n = intArg(call, 1);
  return checkBacklogDistance(n) ? &backlog().back(n) : nullptr;
}

int getLogBody(void* call) {
  setCurrentCommandName("getLog");
  const BacklogEntry* e = entryBack(call);
  return e ? textResult(call, e->text, sizeof e->text) : textResult(call, "", 1);
}

int getLogLineBody(void* call) {
  setCurrentCommandName("getLogLine");
  const BacklogEntry* e = entryBack(call);
  return result(call, e ? e->rows : 0);
}

int getSaveLogBody(void* call) {
  setCurrentCommandName("getSaveLog");
  const BacklogEntry* e = entryBack(call);
  return result(call, e ? e->saveFlag : 0);
}

int setTagLogBody(void* call) {
  setCurrentCommandName("setTagLog");
  BacklogEntry& entry = backlog().current();
  entry.nameLength = static_cast<int>(writeWholeCharacters(entry.tag, sizeof entry.tag, 0, stringArgument(call, 1)));
  return noResult(call);
}

int getTagLogBody(void* call) {
  setCurrentCommandName("getTagLog");
  const BacklogEntry* e = entryBack(call);
  return e ? textResult(call, e->tag, sizeof e->tag) : textResult(call, "", 1);
}

int getLogCountBody(void* call) {
  setCurrentCommandName("getLogCount");
  return result(call, backlog().count);
}

int getImgLogBody(void* call) {
  setCurrentCommandName("getImgLog");
  const int32_t target = intArg(call, 1);
  const int n = intArg(call, 2);
  if (checkBacklogDistance(n)) rebuildImageLog(target, n);
  return noResult(call);
}

}  // namespace

void provideBacklogCommands() {
  provideCommand("getAlreadyReadFlag", &getAlreadyReadFlagBody);
  provideCommand("getAlreadyRead", &getAlreadyReadBody);
  provideCommand("setWindowVisible", &setWindowVisibleBody);
  provideCommand("getWindowVisible", &getWindowVisibleBody);
  provideCommand("setAuto", &setAutoBody);
  provideCommand("setSkip", &setSkipBody);
  provideCommand("getMode", &getModeBody);
  provideCommand("getSkip", &getSkipBody);
  provideCommand("setLog", &setLogBody);
  provideCommand("getLog", &getLogBody);
  provideCommand("getLogLine", &getLogLineBody);
  provideCommand("getSaveLog", &getSaveLogBody);
  provideCommand("setTagLog", &setTagLogBody);
  provideCommand("getTagLog", &getTagLogBody);
  provideCommand("getImgLog", &getImgLogBody);
  provideCommand("getLogCount", &getLogCountBody);
}

}  // namespace vellum
