#include "engine/save_commands.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "engine/rollback.h"
#include "engine/save_snapshot.h"
#include "persist/compressed_container.h"
#include "persist/save_messages.h"
#include "persist/save_slots.h"
#include "persist/save_text.h"
#include "persist/script_save_lines.h"
#include "script/script_state.h"
#include "text/backlog.h"

namespace vellum {

namespace {

std::string commentLine() { return "Comment=" + SaveBlock::field(saveStore().comment) + "\n"; }

// The last block of a slot file: the snapshot (or just the marker) and the comment.
std::string currentBlock() {
  const std::string& snapshot = saveStore().snapshot;
  return (snapshot.empty() ? std::string(kEscapedMarkerLine) : snapshot) + commentLine();
}

bool slotArgument(int64_t slot) { return checkSaveNumber(slot, -1); }

// Restores one block of a stack; the stack is left alone on failure. The pages kept for rolling
// back lead to the state replaced.
bool restoreBlock(const std::vector<std::string_view>& blocks, size_t index, bool preferFile2) {
  if (!restoreSaveBlock(blocks[index], preferFile2)) return false;
  forgetRollbackPages();
  return true;
}

}  // namespace

std::string saveFileText() {
  const std::string& stack = saveStore().pushStack;
  return (stack.empty() ? std::string() : stack + std::string(kBlockSeparator)) + currentBlock();
}

void makeSave() {
  if (saveStore().snapshot.empty()) saveStore().snapshot = composeSaveBlock();
}

void clearSave() { saveStore().snapshot.clear(); }

void pushSave(bool append, const std::string& labelText) {
  SaveStore& store = saveStore();
  makeSave();
  if (!writeLabelResumeLine(store.snapshot, labelText))
    errorc(ReportText().gbk(labelText).sjis(save_messages::kNoLabel), true);
  BacklogState& log = backlog();
  const std::string block = store.snapshot + commentLine();
  if (append && !store.pushStack.empty()) {
    store.pushStack += std::string(kBlockSeparator) + block;
    ++log.savePushDepth;
  } else {
    store.pushStack = block;
    log.savePushDepth = 0;
  }
  store.snapshot.clear();
}

bool saveSave(int64_t slot, bool compressed) {
  if (!slotArgument(slot) || !ensureSaveDirectory()) return false;
  // Written beside the old file and renamed over it: a failed write leaves the old save whole.
  return saveDataZlib(saveSlotPath(slot, compressed), compressed, saveFileText()) == 0;
}

bool loadSave(int64_t slot, bool compressed) {
  if (!slotArgument(slot)) return false;
  const std::string path = saveSlotPath(slot, compressed);
  std::string text;
  if (loadDataZlib(path, compressed, text) != 0) return false;
  const std::vector<std::string_view> blocks = splitSaveStack(text);
  if (blocks.empty()) return reportBrokenSave(pathReport(path).bytes());
  if (!restoreBlock(blocks, blocks.size() - 1, false)) return false;
  // The blocks before the last become the push stack; a single block stacks itself (the text as
  // it is, when it already ends its last line).
  if (blocks.size() == 1 && text.back() == '\n') saveStore().pushStack = std::move(text);
  else saveStore().pushStack = joinSaveStack(blocks, 0, blocks.size() > 1 ? blocks.size() - 2 : 0);
  return true;
}

bool popSave(int64_t n) {
  SaveStore& store = saveStore();
  BacklogState& log = backlog();
  if (n < -1 || n >= kBacklogEntries) return checkSaveNumber(n, kBacklogEntries - 1);
  // The blocks point into a copy of the stack: nothing a restore does to the stack leaves them dangling.
  const std::string stack = store.pushStack;
  const std::vector<std::string_view> blocks = splitSaveStack(stack);
  if (blocks.empty()) {
    errorc(ReportText().sjis(save_messages::kStackEmpty), true);
    return false;
  }
  if (n == -1) {
    const int noted = log.savePushDepth;
    if (blocks.size() >= 2) {
      if (!restoreBlock(blocks, blocks.size() - 1, false)) return false;
      store.pushStack = joinSaveStack(blocks, 0, blocks.size() - 2);
    } else {
      if (!restoreBlock(blocks, 0, true)) return false;
      store.pushStack = joinSaveStack(blocks, 0, 0);
    }
    if (noted != 0) {
      log.index = (log.index + kBacklogEntries - 1) % kBacklogEntries;
      log.savePushDepth = static_cast<uint16_t>(noted - 1);
    }
    return true;
  }
  // Back to the backlog entry n entries before the current one.
  const BacklogEntry entry = log.back(static_cast<int>(n));
  const size_t depth = entry.pushDepth;
  if (depth >= blocks.size()) {
    errorc(ReportText().number(static_cast<long long>(depth)).sjis(save_messages::kOutOfRange), true);
    return false;
  }
  if (!restoreBlock(blocks, depth, true)) return false;
  ScriptState& s = scriptState();
  s.fastForwardTargetKey = entry.originKey != 0 ? entry.originKey : startFileKey();
  s.fastForwardTargetLine = entry.originLine;
  log.savePushDepth = static_cast<uint16_t>(depth);
  store.pushStack = joinSaveStack(blocks, 0, depth);
  s.pendingSubroutine = 0;
  s.fastForwardMode = 2;
  return true;
}

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }
bool formArg(void* call, int i) { return args().getInt(call, i) != 0; }

int returnInt(void* call, int64_t value) {
  args().returnInt(call, args().count[1](call), static_cast<int32_t>(value));
  return 1;
}

int returnText(void* call, const std::string& text) {
  args().returnBytes(call, args().count[1](call), text.data(), text.size());
  return 1;
}

int makeSaveBody(void* call) {
  setCurrentCommandName("makeSave");
  makeSave();
  return noResult(call);
}

int clearSaveBody(void* call) {
  setCurrentCommandName("clearSave");
  clearSave();
  return noResult(call);
}

int pushSaveBody(void* call) {
  setCurrentCommandName("pushSave");
  pushSave(intArg(call, 1) != 0, stringArgument(call, 2));
  return noResult(call);
}

int saveSaveBody(void* call) {
  setCurrentCommandName("saveSave");
  saveSave(intArg(call, 1), formArg(call, 2));
  return noResult(call);
}

int loadSaveBody(void* call) {
  setCurrentCommandName("loadSave");
  loadSave(intArg(call, 1), formArg(call, 2));
  return noResult(call);
}

int popSaveBody(void* call) {
  setCurrentCommandName("popSave");
  popSave(intArg(call, 1));
  return noResult(call);
}

int setSaveTextBody(void* call) {
  setCurrentCommandName("setSaveText");
  saveStore().comment = stringArgument(call, 1);
  return noResult(call);
}

int getSaveTextBody(void* call) {
  setCurrentCommandName("getSaveText");
  return returnText(call, saveStore().comment);
}

int loadSaveTextBody(void* call) {
  setCurrentCommandName("loadSaveText");
  const int64_t slot = intArg(call, 1);
  std::string text, comment;
  if (slotArgument(slot) && loadDataZlib(saveSlotPath(slot, formArg(call, 2)), formArg(call, 2), text) == 0) {
    // The comment of the last block, whole (an escaped comment may hold commas).
    const std::vector<std::string_view> blocks = splitSaveStack(text);
    const SaveBlock block = parseSaveBlock(blocks.empty() ? std::string_view() : blocks.back());
    if (const auto* pieces = block.find("Comment")) {
      if (!pieces->empty()) comment = block.text(pieces->front());
    } else {
      errorc(ReportText().sjis(save_messages::kNoComment), true);
    }
  }
  return returnText(call, comment);
}

int existSaveBody(void* call) {
  setCurrentCommandName("existSave");
  const int64_t slot = intArg(call, 1);
  std::error_code error;
  const bool exists = slot >= 0 && std::filesystem::is_regular_file(saveSlotPath(slot, formArg(call, 2)), error);
  return returnInt(call, exists ? 1 : 0);
}

int deleteSaveBody(void* call) {
  setCurrentCommandName("deleteSave");
  const int64_t slot = intArg(call, 1);
  const bool deleted = slotArgument(slot) && std::remove(saveSlotPath(slot, formArg(call, 2)).c_str()) == 0;
  return returnInt(call, deleted ? 1 : 0);
}

int getSaveTimeBody(void* call) {
  setCurrentCommandName("getSaveTime");
  const int64_t slot = intArg(call, 1);
  return returnText(call, slotArgument(slot) ? saveSlotLocalTime(slot, formArg(call, 2)) : std::string());
}

int getSaveNewBody(void* call) {
  setCurrentCommandName("getSaveNew");
  return returnInt(call, newestSaveSlot(intArg(call, 1), intArg(call, 2), formArg(call, 3)));
}

int setSaveProtectBody(void* call) {
  setCurrentCommandName("setSaveProtect");
  setSaveProtect(intArg(call, 1), intArg(call, 2));
  return noResult(call);
}

int getSaveProtectBody(void* call) {
  setCurrentCommandName("getSaveProtect");
  return returnInt(call, getSaveProtect(intArg(call, 1)));
}

int setSaveFlagBody(void* call) {
  setCurrentCommandName("setSaveFlag");
  backlog().saveFlag = static_cast<uint8_t>(intArg(call, 1));
  return noResult(call);
}

}  // namespace

void provideSaveCommands() {
  provideCommand("setSaveFlag", &setSaveFlagBody);
  provideCommand("makeSave", &makeSaveBody);
  provideCommand("clearSave", &clearSaveBody);
  provideCommand("pushSave", &pushSaveBody);
  provideCommand("saveSave", &saveSaveBody);
  provideCommand("loadSave", &loadSaveBody);
  provideCommand("popSave", &popSaveBody);
  provideCommand("setSaveText", &setSaveTextBody);
  provideCommand("getSaveText", &getSaveTextBody);
  provideCommand("loadSaveText", &loadSaveTextBody);
  provideCommand("existSave", &existSaveBody);
  provideCommand("deleteSave", &deleteSaveBody);
  provideCommand("getSaveTime", &getSaveTimeBody);
  provideCommand("getSaveNew", &getSaveNewBody);
  provideCommand("setSaveProtect", &setSaveProtectBody);
  provideCommand("getSaveProtect", &getSaveProtectBody);
}

}  // namespace vellum
