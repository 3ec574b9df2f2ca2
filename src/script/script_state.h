// Everything the script side of the engine keeps while a game runs: the name tables built by the
// label pass, the three file slots and the execution cursor, the call and loop stacks and the
// message hooks. One instance, changed only by the main thread; resetScriptState() empties it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "script/script_file.h"

namespace vellum {

struct LabelRecord {
  std::string name;  // without the leading '*'
  uint64_t fileKey = 0;
  int line = 0;  // 0-based index of the label line
};

// Per file: 0-based first line of each message block -> read flag (0 unread, 1 read).
using ReadFlagTable = std::unordered_map<int, int>;

struct FileSlot {
  ScriptFile lines;
  std::string displayName;  // "script/0.txt", "script/1.txt", or the base-32 key for slot 2
  uint64_t key = 0;
  bool loaded = false;
};

struct ExecutionCursor {
  int slot = 0;
  int line = 0;        // 0-based line index
  int token = 0;       // always even: tokens come in name/argument pairs
  int tokenCount = 0;
  // 0 none; 1 a command moved the cursor; 2 moved, and a pending subroutine runs before any file switch.
  int jumpFlag = 0;
};

struct CallFrame {
  int resumeLine = 0;
  int resumeToken = 0;
  int loopsOpened = 0;  // the caller's count, restored on return
};

struct LoopFrame {
  int startLine = 0;
  int startToken = 0;
  int exitLine = -1;  // -1 until the loop's first `next` runs
  int exitToken = -1;
  int32_t* variable = nullptr;  // cleared when the variable is erased under the loop
  int32_t end = 0;
  int32_t step = 1;
};

struct ScriptState {
  // Name tables, filled by the label pass over every file of the container.
  std::unordered_map<uint32_t, LabelRecord> labels;         // CRC-32 of the label name
  std::unordered_map<uint64_t, ReadFlagTable> readFlags;    // FileKey -> its table
  // FileKey -> display name: the base-32 key, or the source path in a run that watches the sources.
  std::unordered_map<uint64_t, std::string> fileNames;
  std::unordered_map<uint32_t, std::string> userCommands;   // CRC-32 of a defsub name -> name

  // The three file slots: 0 always script/0.txt, 1 script/1.txt when present, 2 the last other file.
  FileSlot slots[3];
  uint64_t otherFileKey = 0;   // key of the file in slot 2
  int fileJumpRequest = 0;     // 0 none, 1..3 select slot request-1, 4 load otherFileKey into slot 2
  uint32_t pendingSubroutine = 0;
  ExecutionCursor cursor;
  ReadFlagTable* currentReadFlags = nullptr;  // the table of the file the cursor is in

  // for/next skipping of an empty loop body.
  int forSkipMode = 0;
  int forSkipDepth = 0;

  // Subroutine calls: frames with the caller file keys beside them.
  std::vector<CallFrame> callFrames;
  std::vector<uint64_t> callerKeys;
  int loopsOpened = 0;  // loops opened since the current subroutine was entered
  std::vector<LoopFrame> loopFrames;
  // Per call depth: 0 none, 1 a branch of the conditional chain was taken, 2 the last test failed.
  std::vector<int> conditionStates;

  int& conditionState() {
    const size_t depth = callFrames.size();
    if (conditionStates.size() <= depth) conditionStates.resize(depth + 1, 0);
    return conditionStates[depth];
  }

  // User command being dispatched: its label name and its argument text.
  const std::string* currentUserCommand = nullptr;
  std::string userCommandParameters;  // at most 255 bytes, as the parameter buffer holds

  // Message hand-off bookkeeping.
  int lastTextLine = -1;
  int textOffset = 0;
  int messageWaited = 0;
  uint32_t preMessageSub = 0;
  uint32_t postMessageSub = 0;

  // Fast-forward: 0 off, 1 setJump, 2 returning to a backlog entry, 4 fileJump.
  int fastForwardMode = 0;
  uint64_t fastForwardTargetKey = 0;
  int fastForwardTargetLine = 0;

  int callDepth() const { return static_cast<int>(callFrames.size()); }
  FileSlot& currentSlot() { return slots[cursor.slot]; }
};

ScriptState& scriptState();
void resetScriptState();

// How reports name the file: its display name, else its base-32 key.
std::string scriptFileName(uint64_t key);

// Keys of the two start files, computed once.
uint64_t startFileKey();   // script/0.txt
uint64_t secondFileKey();  // script/1.txt

}  // namespace vellum
