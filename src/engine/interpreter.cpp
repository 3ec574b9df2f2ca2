#include "engine/interpreter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "script/argument_form.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "engine/live_reload/live_reload.h"
#include "engine/message_handoff.h"
#include "engine/rollback.h"
#include "base/report.h"
#include "script/char_classes.h"
#include "script/control_flow.h"
#include "script/script_messages.h"
#include "script/script_state.h"
#include "storage/hashes.h"
#include "script/script_container.h"
#include "text/backlog.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

// "这是未对应的命令" (GBK)
constexpr std::string_view kUnknownCommand = "\xd5\xe2\xca\xc7\xce\xb4\xb6\xd4\xd3\xa6\xb5\xc4\xc3\xfc\xc1\xee";
// "已读检查错误 " (GBK)
constexpr std::string_view kReadFlagMissing = "\xd2\xd1\xb6\xc1\xbc\xec\xb2\xe9\xb4\xed\xce\xf3\x20";


constexpr std::string_view kOpenBracket = "\xa1\xbe";   // 【
constexpr std::string_view kCloseBracket = "\xa1\xbf";  // 】

const uint32_t kForKey = crc32Of("for");
const uint32_t kNextKey = crc32Of("next");

// How a pair ended: a command ran (file jumps are serviced next), nothing ran (straight on to the
// next pair), or the loop must stop.
enum class PairResult { Ran, NextPair, Leave };

ScriptState& S() { return scriptState(); }

int lineCount() { return static_cast<int>(S().currentSlot().lines.size()); }

const ScriptLine* lineAt(ScriptState& s, int index) {
  const ScriptFile& lines = s.currentSlot().lines;
  return index >= 0 && index < static_cast<int>(lines.size()) ? &lines[index] : nullptr;
}

const ScriptLine* lineAt(int index) { return lineAt(S(), index); }

int firstTokenLength(int index) {
  const ScriptLine* line = lineAt(index);
  return line && !line->tokens.empty() ? static_cast<int>(line->tokens.front().size()) : 0;
}

// ---- commands ----------------------------------------------------------------------------------

void skipEmptyForBody(uint32_t key) {
  ScriptState& s = S();
  if (key == kForKey) {
    ++s.forSkipDepth;
  } else if (key == kNextKey && --s.forSkipDepth < 0) {
    // The matching `next`: its handler ends the skip.
    s.forSkipDepth = 0;
    auto next = commandTables().registry.find(kNextKey);
    if (next != commandTables().registry.end()) next->second.invoke("", 0);
  }
}

void runUserCommand(uint32_t key, const std::string& argument) {
  ScriptState& s = S();
  auto label = s.labels.find(key);
  if (label == s.labels.end()) {
    errorc(ReportText().gbk(s.userCommands[key]).sjis(messages::kNoSuchLabel), true);
    return;
  }
  s.userCommandParameters = argument;
  s.currentUserCommand = &label->second.name;
  callLabel(key);
  s.currentUserCommand = nullptr;
}

// The native command of a pair, looked up again only when the registry has changed since.
const CommandEntry* nativeCommand(PairCache& pair) {
  if (pair.registryChanges != registryChanges()) {
    CommandTables& commands = commandTables();
    auto found = commands.registry.find(pair.key);
    pair.native = found != commands.registry.end() ? &found->second : nullptr;
    pair.registryChanges = registryChanges();
  }
  return pair.native;
}

// `pair` keeps the command's key and its handler's compiled argument between runs of the line.
PairResult runCommand(const std::string& name, const std::string& argument, PairCache& pair) {
  ScriptState& s = S();
  if (!pair.keyed) {
    pair.key = crc32Of(name);
    pair.keyed = true;
  }
  const uint32_t key = pair.key;
  if (s.forSkipMode) {
    skipEmptyForBody(key);
    return PairResult::NextPair;
  }
  CommandTables& commands = commandTables();
  if (const CommandEntry* native = nativeCommand(pair)) {
    setCurrentCommandName(name);
    offerArgumentForm(&pair.form, argument.c_str(), argument.size());
    native->invoke(argument.c_str(), static_cast<int>(argument.size()));
    withdrawArgumentForm();
    if (engine().quitFlag) return PairResult::Leave;
  } else if (s.userCommands.count(key)) {
    runUserCommand(key, argument);
  } else if (auto function = commands.scriptFunctions.find(key);
             function != commands.scriptFunctions.end() && function->second.caller) {
    function->second.caller(function->second, argument.c_str(), static_cast<int>(argument.size()));
  } else {
    setCurrentCommandName(name);
    errorc(ReportText().gbk(kUnknownCommand), true);
  }
  return PairResult::Ran;
}

// ---- text lines --------------------------------------------------------------------------------

// Records a leading 【name】 as the speaker. Returns false for a line holding only the name (or an
// unclosed bracket): the message text is then on the following line.
bool takeSpeakerName(std::string_view text) {
  ScriptState& s = S();
  if (text.substr(0, 2) != kOpenBracket) return true;
  for (size_t i = 2; i + 1 < text.size(); ++i) {
    if (text.substr(i, 2) == kCloseBracket) {
      BacklogEntry& entry = backlog().current();
      const size_t n = writeWholeCharacters(entry.tag, sizeof entry.tag, 0, text.substr(2, i - 2));
      entry.nameLength = static_cast<int>(n);
      if (i + 2 < text.size()) {
        s.textOffset = static_cast<int>(i + 2);
        return true;
      }
      return false;
    }
    if (chars::is(chars::kLeadByte, text[i])) ++i;
  }
  return false;
}

void readFlagHook(int startLine) {
  ScriptState& s = S();
  ReadModeState& modes = readMode();
  ReadFlagTable* table = s.currentReadFlags;
  auto entry = table ? table->find(startLine) : ReadFlagTable::iterator{};
  if (!table || entry == table->end()) {
    showErrorBox(ReportText()
                     .gbk(kReadFlagMissing)
                     .number(startLine)
                     .ascii("/")
                     .number(table ? static_cast<long long>(table->size()) : 0));
    return;
  }
  int& flag = entry->second;
  if (s.fastForwardTargetKey != 0) {
    // The file the cursor is in (for slot 2 that is otherFileKey).
    if (s.currentSlot().key == s.fastForwardTargetKey && s.fastForwardTargetLine <= s.cursor.line) {
      endFastForward();
      s.fastForwardTargetKey = 0;
      s.fastForwardTargetLine = 0;
      modes.currentMessageRead = flag;
    }
    return;
  }
  modes.currentMessageRead = flag;
  if (flag == 0) {
    flag = 1;
    if (modes.skipActive) {
      if (modes.alreadyReadAutoSkip & 2) {
        modes.alreadyReadAutoSkip = 1;
        stopSkipping(33);
      } else if (modes.alreadyReadSkip == 0) {
        stopSkipping(33);
      }
    }
    if (s.fastForwardMode) endFastForward();
  } else if (!modes.skipActive && !modes.autoActive && modes.alreadyReadAutoSkip) {
    startSkipping(3);
    modes.alreadyReadAutoSkip = 3;
  }
}

void recordMessageOrigin() {
  ScriptState& s = S();
  BacklogState& log = backlog();
  BacklogEntry& entry = log.current();
  entry.originKey = s.otherFileKey;
  entry.originLine = static_cast<uint16_t>(s.cursor.line);
  entry.pushDepth = log.savePushDepth;
  entry.saveFlag = log.saveFlag;
}

PairResult display() {
  ScriptState& s = S();
  s.lastTextLine = -1;
  const ScriptLine* line = lineAt(s.cursor.line);
  const std::string empty;
  const std::string& text = line && !line->tokens.empty() ? line->tokens.front() : empty;
  const int next = firstTokenLength(s.cursor.line + 1);
  const int after = firstTokenLength(s.cursor.line + 2);
  if (messagePresenter()(text.c_str(), static_cast<int>(text.size()), &next, &after) == 0) return PairResult::Leave;
  if (s.postMessageSub && s.messageWaited) {
    if (s.textOffset != 0) --s.cursor.line;  // the line is not finished: come back to it
    callLabel(s.postMessageSub);
  }
  return PairResult::Ran;
}

PairResult runTextLine(const std::string& text) {
  ScriptState& s = S();
  if (s.cursor.line == s.lastTextLine || backlog().current().text[0]) return display();

  // This line starts a message: a page a player may roll back to.
  takePageSnapshot();
  const int startLine = s.cursor.line;
  s.lastTextLine = startLine;
  const bool textOnThisLine = takeSpeakerName(text);
  if (!textOnThisLine) {
    // Only a speaker name: the message text is the following line.
    ++s.cursor.line;
    s.textOffset = 0;
    s.lastTextLine = s.cursor.line;
  }
  readFlagHook(startLine);
  recordMessageOrigin();
  if (s.preMessageSub) {
    // After the subroutine the loop reaches the same line again and displays it.
    --s.cursor.line;
    callLabel(s.preMessageSub);
    return PairResult::Ran;
  }
  if (!textOnThisLine) {
    // Let the loop reach the following line, which then goes straight to display.
    --s.cursor.line;
    return PairResult::Ran;
  }
  return display();
}

// ---- file switches -----------------------------------------------------------------------------

void selectSlot(int slot) {
  ScriptState& s = S();
  s.cursor.slot = slot;
  s.currentReadFlags = &s.readFlags[s.slots[slot].key];
}

void serviceFileJumps() {
  ScriptState& s = S();
  while (s.fileJumpRequest) {
    if (s.pendingSubroutine && s.cursor.jumpFlag == 2) {
      const uint32_t pending = s.pendingSubroutine;
      s.pendingSubroutine = 0;
      callLabel(pending);
      continue;
    }
    if (s.fileJumpRequest == 4) {
      FileSlot& slot = s.slots[2];
      slot.lines.clear();
      slot.key = s.otherFileKey;
      slot.loaded = loadScript(s.otherFileKey, slot.lines);
      selectSlot(2);
    } else {
      selectSlot(s.fileJumpRequest - 1);
    }
    s.fileJumpRequest = 0;
    if (s.pendingSubroutine) {
      const uint32_t pending = s.pendingSubroutine;
      s.pendingSubroutine = 0;
      callLabel(pending);
    }
  }
}

// ---- one line ----------------------------------------------------------------------------------

PairResult runLine() {
  ScriptState& s = S();
  ExecutionCursor& cursor = s.cursor;
  if (cursor.jumpFlag) {
    cursor.jumpFlag = 0;  // a jump into the middle of a line resumes at its token
  } else {
    cursor.token = 0;
  }
  cursor.tokenCount = static_cast<int>(lineAt(s, cursor.line)->tokens.size());

  for (; cursor.token < cursor.tokenCount; cursor.token += 2) {
    // Looked up afresh for every pair: a command may have switched files.
    const ScriptLine* line = lineAt(s, cursor.line);
    if (!line || cursor.token >= static_cast<int>(line->tokens.size())) break;
    const std::string& name = line->tokens[cursor.token];
    static const std::string kNoArgument;
    const std::string& argument =
        cursor.token + 1 < static_cast<int>(line->tokens.size()) ? line->tokens[cursor.token + 1] : kNoArgument;

    PairResult result;
    if (!name.empty() && chars::is(chars::kCommandStart, name[0])) {
      const size_t pairCount = (line->tokens.size() + 1) / 2;
      result = runCommand(name, argument, line->cache.pair(static_cast<size_t>(cursor.token) / 2, pairCount));
    } else if (name.empty() || name[0] == '*' || s.forSkipMode) {
      result = PairResult::NextPair;
    } else {
      result = runTextLine(name);
    }
    if (result == PairResult::Leave) return result;
    if (result == PairResult::NextPair) continue;
    if (s.fileJumpRequest) serviceFileJumps();
    if (cursor.jumpFlag) break;  // the cursor moved: this line ends here
  }
  return PairResult::Ran;
}

}  // namespace

void runInterpreter() {
  ScriptState& s = S();
  s.cursor = ExecutionCursor{};
  selectSlot(0);
  while (s.cursor.line < lineCount()) {
    // Between lines no command holds on to the script's text, so a reload may replace it here.
    serviceLiveReload();
    if (s.cursor.line >= lineCount()) break;
    const ScriptLine* line = lineAt(s, s.cursor.line);
    if (line->tokens.empty() || line->tokens.front().empty()) {
      ++s.cursor.line;
      continue;
    }
    if (runLine() == PairResult::Leave) return;
    ++s.cursor.line;
  }
}

}  // namespace vellum
