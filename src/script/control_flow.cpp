#include "script/control_flow.h"

#include <algorithm>
#include <vector>

#include "script/script_state.h"
#include "storage/hashes.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

void moveCursorToLabel(const LabelRecord& label) {
  ScriptState& s = scriptState();
  // The loop's end-of-line increment lands on the label line, which is skipped.
  s.cursor.line = label.line - 1;
  s.cursor.token = 0;
  s.cursor.jumpFlag = 1;
  switchToFile(label.fileKey);
}

}  // namespace

void switchToFile(uint64_t key) {
  ScriptState& s = scriptState();
  if (key == startFileKey()) {
    s.fileJumpRequest = 1;
  } else if (key == secondFileKey()) {
    s.fileJumpRequest = 2;
  } else if (key == s.otherFileKey) {
    s.fileJumpRequest = 3;
  } else {
    s.otherFileKey = key;
    auto name = s.fileNames.find(key);
    s.slots[2].displayName = name != s.fileNames.end() ? name->second : std::string();
    s.fileJumpRequest = 4;
  }
}

bool jumpTo(std::string_view labelText) {
  if (labelText.empty()) return false;
  ScriptState& s = scriptState();
  auto label = s.labels.find(crc32Of(labelText.substr(1)));
  if (label == s.labels.end()) return false;
  moveCursorToLabel(label->second);
  return true;
}

bool callLabel(uint32_t labelKey) {
  ScriptState& s = scriptState();
  auto label = s.labels.find(labelKey);
  if (label == s.labels.end()) return false;
  // Resume at the next pair of this line, or at the next line when this was the last pair.
  CallFrame frame;
  if (s.cursor.token + 2 < s.cursor.tokenCount) {
    frame.resumeLine = s.cursor.line - 1;
    frame.resumeToken = s.cursor.token + 2;
  } else {
    frame.resumeLine = s.cursor.line;
    frame.resumeToken = 0;
  }
  frame.loopsOpened = s.loopsOpened;
  s.callFrames.push_back(frame);
  s.callerKeys.push_back(s.currentSlot().key);
  moveCursorToLabel(label->second);
  s.loopsOpened = 0;
  return true;
}

namespace {
std::vector<FastForwardEndHook>& fastForwardEndHooks() {
  static std::vector<FastForwardEndHook> hooks;
  return hooks;
}
}  // namespace

void addFastForwardEndHook(FastForwardEndHook hook) {
  auto& hooks = fastForwardEndHooks();
  if (hook && std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

void endFastForward() {
  ScriptState& s = scriptState();
  ReadModeState& modes = readMode();
  modes.skipActive = false;
  modes.transientSkip = false;
  s.fastForwardMode = 0;
  modes.pendingModeEvent = 0x41;
  for (FastForwardEndHook hook : fastForwardEndHooks()) hook();
  s.cursor.token = 0;
  s.cursor.jumpFlag = 1;
  s.fileJumpRequest = 1;
  static const uint32_t loadLabel = crc32Of("load_lb");
  if (s.labels.count(loadLabel)) s.pendingSubroutine = loadLabel;
  modes.windowVisible = 0;
}

}  // namespace vellum

namespace vellum {

uint32_t labelKeyOf(std::string_view labelText) {
  return labelText.size() < 2 ? 0 : crc32Of(labelText.substr(1));
}

bool labelExists(std::string_view labelText) {
  return labelText.size() >= 2 && scriptState().labels.count(crc32Of(labelText.substr(1))) > 0;
}

}  // namespace vellum
