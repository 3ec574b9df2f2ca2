#include "script/script_commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/arg_accessor.h"
#include "script/argument_form.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/assignment.h"
#include "script/control_flow.h"
#include "script/control_forms.h"
#include "script/expression.h"
#include "script/script_messages.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

std::string_view argumentText(const char* text, int length) {
  return std::string_view(text, static_cast<size_t>(length));
}

void reportMissingLabel(std::string_view labelText) {
  errorc(ReportText().gbk(labelText).sjis(messages::kNoSuchLabel), true);
}

// The position after the current pair: the next pair of this line, or the next line.
void positionAfterCurrentPair(int& line, int& token) {
  const ExecutionCursor& c = scriptState().cursor;
  if (c.token + 2 < c.tokenCount) {
    line = c.line - 1;
    token = c.token + 2;
  } else {
    line = c.line;
    token = 0;
  }
}

void moveCursor(int line, int token) {
  ExecutionCursor& c = scriptState().cursor;
  c.line = line;
  c.token = token;
  c.jumpFlag = 1;
}

// The rest of this line is not run.
void abandonLine() { moveCursor(scriptState().cursor.line, 0); }

// ---- jumps and subroutines ---------------------------------------------------------------------

void gotoCommand(const char* text, int length) {
  const Value label = evaluate(argumentText(text, length));
  if (!jumpTo(label.text)) reportMissingLabel(label.text);
}

void gosubCommand(const char* text, int length) {
  const Value label = evaluate(argumentText(text, length));
  if (!labelExists(label.text) || !callLabel(labelKeyOf(label.text))) reportMissingLabel(label.text);
}

void popLoops(int count) {
  std::vector<LoopFrame>& loops = scriptState().loopFrames;
  while (count-- > 0 && !loops.empty()) loops.pop_back();
}

void returnCommand(const char* text, int length) {
  ScriptState& s = scriptState();
  const Value target = evaluate(argumentText(text, length));
  if (s.callFrames.empty()) {
    errorc(ReportText().sjis(messages::kReturnWithoutGosub), true);
    return;
  }
  popLoops(s.loopsOpened);  // loops opened inside the subroutine are abandoned
  const CallFrame frame = s.callFrames.back();
  const uint64_t caller = s.callerKeys.back();
  s.callFrames.pop_back();
  s.callerKeys.pop_back();
  s.loopsOpened = frame.loopsOpened;
  if (!target.text.empty()) {
    if (target.isString() && !jumpTo(target.text)) reportMissingLabel(target.text);
  } else {
    moveCursor(frame.resumeLine, frame.resumeToken);
    switchToFile(caller);
  }
  if (s.callFrames.empty()) {
    s.currentUserCommand = nullptr;
    s.callFrames.shrink_to_fit();
    s.callerKeys.shrink_to_fit();
  }
}

void labelExistCommand(const char* text, int length) {
  const auto pieces = splitSegments(argumentText(text, length), ',', false);
  int32_t* answer = pieces.empty() ? nullptr : findIntVariable(pieces[0], true);
  if (!answer) {
    errorc(ReportText().gbk(pieces.empty() ? std::string_view() : pieces[0]).ascii(" ").sjis(messages::kBadIntVariable),
           true);
    return;
  }
  *answer = pieces.size() > 1 && labelExists(evaluate(pieces[1]).text) ? 1 : 0;
}

// ---- conditionals ------------------------------------------------------------------------------

void testCondition(std::string_view text) {
  int& state = scriptState().conditionState();
  state = 2;
  std::optional<ConditionForm> uncached;
  const ConditionForm& form = argumentForm(text, uncached);
  if (form.blank) {
    errorc(ReportText().sjis(messages::kBadCondition), true);
    abandonLine();
    return;
  }
  if (evaluateNumber(form.condition) != 0) {
    state = 1;
  } else {
    abandonLine();
  }
}

void ifCommand(const char* text, int length) { testCondition(argumentText(text, length)); }

void elseifCommand(const char* text, int length) {
  if (scriptState().conditionState() == 1) {
    abandonLine();
  } else {
    testCondition(argumentText(text, length));
  }
}

void elseCommand(const char*, int) {
  if (scriptState().conditionState() == 1) abandonLine();
}

// ---- counted loops -----------------------------------------------------------------------------

bool loopFinished(const LoopFrame& loop) {
  return loop.step >= 0 ? *loop.variable > loop.end : *loop.variable < loop.end;
}

void closeLoop() {
  ScriptState& s = scriptState();
  if (!s.loopFrames.empty()) s.loopFrames.pop_back();
  --s.loopsOpened;
  if (s.loopFrames.empty()) s.loopFrames.shrink_to_fit();
}

// The innermost loop, or nullptr (reported) when none is open or its variable is gone.
LoopFrame* innermostLoop() {
  ScriptState& s = scriptState();
  if (s.loopFrames.empty()) {
    errorc(ReportText().sjis(messages::kNextWithoutFor), true);
    return nullptr;
  }
  if (!s.loopFrames.back().variable) {
    errorc(ReportText().sjis(messages::kNoSuchVariable), true);
    closeLoop();
    return nullptr;
  }
  return &s.loopFrames.back();
}

void forCommand(const char* text, int length) {
  ScriptState& s = scriptState();
  std::optional<LoopHeadForm> uncached;
  const std::vector<CompiledExpression>& pieces = argumentForm(argumentText(text, length), uncached).pieces;
  std::vector<Value> values;
  for (const CompiledExpression& piece : pieces) values.push_back(evaluate(piece));
  int32_t* variable = pieces.empty() ? nullptr : findIntVariable(pieces[0], true);
  if (!variable || pieces.size() < 3) {
    errorc(ReportText().gbk(argumentText(text, length)).ascii(" ").sjis(messages::kBadIntVariable), true);
    return;
  }
  LoopFrame loop;
  positionAfterCurrentPair(loop.startLine, loop.startToken);
  loop.variable = variable;
  const int32_t start = toInt32(values[1].number);
  loop.end = toInt32(values[2].number);
  loop.step = pieces.size() == 4 ? toInt32(values[3].number) : 1;
  s.loopFrames.push_back(loop);
  ++s.loopsOpened;
  // An empty range skips the body up to the matching `next`.
  if ((loop.step > 0 && loop.end < start) || (loop.step < 0 && start < loop.end)) s.forSkipMode = 1;
  *variable = start;
}

void nextCommand(const char*, int) {
  ScriptState& s = scriptState();
  if (s.forSkipMode) {
    s.forSkipMode = 0;
    closeLoop();
    return;
  }
  LoopFrame* loop = innermostLoop();
  if (!loop) return;
  *loop->variable = static_cast<int32_t>(static_cast<uint32_t>(*loop->variable) + static_cast<uint32_t>(loop->step));
  if (loopFinished(*loop)) {
    closeLoop();
    return;
  }
  if (loop->exitLine == -1) positionAfterCurrentPair(loop->exitLine, loop->exitToken);
  moveCursor(loop->startLine, loop->startToken);
}

void breakLoop(LoopFrame& loop) {
  ScriptState& s = scriptState();
  if (loop.exitLine == -1) {
    // No `next` has run yet: skip forward to it; it closes the loop.
    s.forSkipMode = 1;
    return;
  }
  moveCursor(loop.exitLine, loop.exitToken);
  closeLoop();
  s.forSkipMode = 0;
}

void breakCommand(const char*, int) {
  if (LoopFrame* loop = innermostLoop()) breakLoop(*loop);
}

void continueCommand(const char*, int) {
  LoopFrame* loop = innermostLoop();
  if (!loop) return;
  *loop->variable = static_cast<int32_t>(static_cast<uint32_t>(*loop->variable) + static_cast<uint32_t>(loop->step));
  if (loopFinished(*loop)) {
    breakLoop(*loop);
  } else {
    moveCursor(loop->startLine, loop->startToken);
  }
}

// ---- user commands -----------------------------------------------------------------------------

void defsubCommand(const char* text, int length) {
  const std::string_view name = trimBlanks(argumentText(text, length));
  ScriptState& s = scriptState();
  if (s.labels.count(crc32Of(name))) {
    s.userCommands[crc32Of(name)] = std::string(name);
  } else {
    errorc(ReportText().gbk(name).sjis(messages::kNoSuchLabel), true);
  }
}

void undefsubCommand(const char* text, int length) {
  const std::string_view name = trimBlanks(argumentText(text, length));
  if (scriptState().userCommands.erase(crc32Of(name)) == 0) {
    errorc(ReportText().gbk(name).sjis(messages::kNotRegistered), true);
  }
}

void getParamCommand(const char* text, int length) {
  bindList(argumentText(text, length), scriptState().userCommandParameters);
}

// ---- message subroutines and fast-forward (shared bodies) --------------------------------------

int setMessageSubroutine(void* call, uint32_t ScriptState::*slot) {
  size_t length = 0;
  const char* text = args().getStringLength(call, 1, &length);
  const std::string_view label = trimBlanks(std::string_view(text, length));
  if (labelExists(label)) {
    scriptState().*slot = labelKeyOf(label);
  } else {
    errorc(ReportText().sjis(messages::kNoSuchLabel), true);
  }
  args().returnNothing(call);
  return 1;
}

int preMessGosubBody(void* call) { return setMessageSubroutine(call, &ScriptState::preMessageSub); }
int sufMessGosubBody(void* call) { return setMessageSubroutine(call, &ScriptState::postMessageSub); }

int fileJumpBody(void* call) {
  ScriptState& s = scriptState();
  size_t length = 0;
  const char* path = args().getStringLength(call, 1, &length);
  const int32_t line = args().getInt(call, 2);
  if (length == 0 || line == 0) {
    errorc(ReportText().sjis(messages::kBadFileJump), true);
  } else {
    s.fastForwardTargetKey = crc64Of(std::string_view(path, length));
    s.fastForwardTargetLine = line - 1;
    s.pendingSubroutine = 0;
    s.fastForwardMode = 4;
  }
  args().returnNothing(call);
  return 1;
}

void setJumpCommand(const char*, int) {
  ReadModeState& modes = readMode();
  modes.autoActive = false;
  modes.skipActive = false;
  scriptState().fastForwardMode = 1;
}

void stopModeCommand(const char*, int) {
  ReadModeState& modes = readMode();
  const bool stopsHere = (modes.skipActive && modes.selectSkipMode) || (modes.autoActive && modes.selectAutoMode);
  if (stopsHere && modes.pendingModeEvent == 0) allModesOff();
  ScriptState& s = scriptState();
  if (s.fastForwardMode) {
    endFastForward();
    s.cursor.jumpFlag = 2;  // the pending subroutine runs before the file switch
  }
}

}  // namespace

void provideControlFlowCommands() {
  provideCommand("for", &forCommand);
  provideCommand("next", &nextCommand);
  provideCommand("break", &breakCommand);
  provideCommand("continue", &continueCommand);
  provideCommand("if", &ifCommand);
  provideCommand("elseif", &elseifCommand);
  provideCommand("else", &elseCommand);
  provideCommand("defsub", &defsubCommand);
  provideCommand("undefsub", &undefsubCommand);
  provideCommand("getParam", &getParamCommand);
  provideCommand("goto", &gotoCommand);
  provideCommand("gosub", &gosubCommand);
  provideCommand("return", &returnCommand);
  provideCommand("labelExist", &labelExistCommand);
  provideCommand("preMessGosub", &preMessGosubBody);
  provideCommand("sufMessGosub", &sufMessGosubBody);
  provideCommand("setJump", &setJumpCommand);
  provideCommand("fileJump", &fileJumpBody);
  provideCommand("stopMode", &stopModeCommand);
}

}  // namespace vellum
