#include "script/script_reload.h"

#include <unordered_map>
#include <unordered_set>

#include "base/engine_state.h"
#include "script/label_pass.h"
#include "script/line_cache.h"
#include "script/reload_position.h"
#include "script/script_container.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

struct Version {
  ScriptFile lines;
  LabelScan scan;
};

struct Replacing {
  const ScriptReplacement* source = nullptr;
  Version before;  // empty for a file the game did not have
  Version after;
};

Version parseVersion(uint64_t key, const std::string& text) {
  Version v;
  parseScript(text, v.lines);
  v.scan = scanLabels(key, v.lines);
  return v;
}

// What the game runs now for this key: a loaded slot's lines, else the stored text.
Version currentVersion(uint64_t key) {
  const ScriptState& s = scriptState();
  for (const FileSlot& slot : s.slots) {
    if (slot.loaded && slot.key == key) {
      Version v;
      v.lines = slot.lines;
      v.scan = scanLabels(key, v.lines);
      return v;
    }
  }
  std::string text;
  if (!scriptExists(key) || !readScriptText(key, text)) return {};
  return parseVersion(key, text);
}

// Every new label must be free: not taken by another file of the batch, nor by a file outside it.
bool labelsAreFree(const std::vector<Replacing>& batch) {
  const ScriptState& s = scriptState();
  std::unordered_set<uint64_t> replaced;
  for (const Replacing& r : batch) replaced.insert(r.source->key);
  std::unordered_set<uint32_t> taken;
  for (const Replacing& r : batch) {
    for (const LabelRecord& label : r.after.scan.labels) {
      const uint32_t crc = crc32Of(label.name);
      const auto existing = s.labels.find(crc);
      const bool takenOutside = existing != s.labels.end() && !replaced.count(existing->second.fileKey);
      if (!taken.insert(crc).second || takenOutside) {
        reportLabelError(r.source->key, label.line, r.after.lines[label.line].tokens.front(), true);
        return false;
      }
    }
  }
  return true;
}

// Label records keep their place in the table where they survive: a running user command holds
// the name of one.
void replaceLabels(uint64_t key, const FileLabels& labels) {
  ScriptState& s = scriptState();
  std::unordered_set<uint32_t> kept;
  for (const LabelRecord& label : labels) kept.insert(crc32Of(label.name));
  for (auto it = s.labels.begin(); it != s.labels.end();)
    it = it->second.fileKey == key && !kept.count(it->first) ? s.labels.erase(it) : std::next(it);
  for (const LabelRecord& label : labels) s.labels[crc32Of(label.name)] = label;
}

// A message keeps its read flag where its first line reads the same; a changed one is unread.
void replaceReadFlags(uint64_t key, const Replacing& r) {
  ReadFlagTable& table = scriptState().readFlags[key];
  std::unordered_set<std::string> read;
  for (const auto& [line, flag] : table)
    if (flag != 0 && line < static_cast<int>(r.before.lines.size()) && !r.before.lines[line].tokens.empty())
      read.insert(r.before.lines[line].tokens.front());
  ReadFlagTable fresh;
  for (int start : r.after.scan.messageStarts) fresh[start] = read.count(r.after.lines[start].tokens.front()) ? 1 : 0;
  table = std::move(fresh);  // the same table object: the interpreter points at it
}

class PositionMover {
 public:
  explicit PositionMover(const Replacing& r) : r_(r) {}

  LinePosition move(LinePosition p) const {
    return positionAfterReload(r_.before.lines, r_.before.scan.labels, r_.after.lines, r_.after.scan.labels, p);
  }
  // A stored return point (line, token) resumes at line + 1.
  void moveReturnPoint(int& line, int& token) const {
    const LinePosition moved = move({line + 1, token});
    line = moved.line - 1;
    token = moved.token;
  }
  int moveLine(int line) const {
    return lineAfterReload(r_.before.scan.labels, r_.after.scan.labels, static_cast<int>(r_.after.lines.size()), line);
  }
  bool lineUnchanged(int oldLine, int newLine) const {
    const ScriptFile& a = r_.before.lines;
    const ScriptFile& b = r_.after.lines;
    return oldLine >= 0 && newLine >= 0 && oldLine < static_cast<int>(a.size()) &&
           newLine < static_cast<int>(b.size()) && a[oldLine].tokens == b[newLine].tokens;
  }

 private:
  const Replacing& r_;
};

// The file each open loop was opened in: the innermost ones in the current file, then each
// caller's in that caller's file.
std::vector<uint64_t> loopFiles() {
  const ScriptState& s = scriptState();
  std::vector<uint64_t> files(s.loopFrames.size(), 0);
  int end = static_cast<int>(files.size());
  auto assign = [&](int count, uint64_t key) {
    for (; count > 0 && end > 0; --count) files[static_cast<size_t>(--end)] = key;
  };
  assign(s.loopsOpened, s.slots[s.cursor.slot].key);
  for (size_t i = s.callFrames.size(); i-- > 0;) assign(s.callFrames[i].loopsOpened, s.callerKeys[i]);
  return files;
}

// The message line being shown belongs to the caller when the message subroutine runs.
uint64_t messageLineFile() {
  const ScriptState& s = scriptState();
  if (!s.callFrames.empty()) {
    const int resume = s.callFrames.back().resumeLine;
    if (resume == s.lastTextLine || resume + 1 == s.lastTextLine) return s.callerKeys.back();
  }
  return s.slots[s.cursor.slot].key;
}

void movePositions(uint64_t key, const Replacing& r, const std::vector<uint64_t>& loops, uint64_t messageFile) {
  ScriptState& s = scriptState();
  const PositionMover mover(r);
  ExecutionCursor& c = s.cursor;
  if (s.slots[c.slot].key == key) {
    const LinePosition moved = mover.move({c.line, c.jumpFlag ? c.token : 0});
    c.line = moved.line;
    c.token = moved.token;
    c.jumpFlag = moved.token != 0 ? 1 : 0;
  }
  for (size_t i = 0; i < s.callFrames.size(); ++i)
    if (s.callerKeys[i] == key) mover.moveReturnPoint(s.callFrames[i].resumeLine, s.callFrames[i].resumeToken);
  for (size_t i = 0; i < s.loopFrames.size(); ++i) {
    if (loops[i] != key) continue;
    LoopFrame& loop = s.loopFrames[i];
    mover.moveReturnPoint(loop.startLine, loop.startToken);
    if (loop.exitLine != -1) mover.moveReturnPoint(loop.exitLine, loop.exitToken);
  }
  if (messageFile == key && s.lastTextLine >= 0) {
    const int line = mover.moveLine(s.lastTextLine);
    // A changed message line starts over as a new message.
    if (mover.lineUnchanged(s.lastTextLine, line)) {
      s.lastTextLine = line;
    } else {
      s.lastTextLine = -1;
      s.textOffset = 0;
    }
  }
  if (s.fastForwardTargetKey == key) s.fastForwardTargetLine = mover.moveLine(s.fastForwardTargetLine);
}

}  // namespace

bool replaceScripts(const std::vector<ScriptReplacement>& files) {
  ScriptState& s = scriptState();
  std::vector<Replacing> batch;
  batch.reserve(files.size());
  for (const ScriptReplacement& file : files) {
    s.fileNames[file.key] = file.name;  // reports about it name its path from now on
    Replacing r;
    r.source = &file;
    setCurrentCommandName(file.name);
    r.after = parseVersion(file.key, file.text);
    if (r.after.scan.errorLine >= 0) {
      reportLabelError(file.key, r.after.scan.errorLine, r.after.scan.errorText, false);
      return false;
    }
    r.before = currentVersion(file.key);
    batch.push_back(std::move(r));
  }
  if (!labelsAreFree(batch)) return false;

  // Ownership is read before any position moves.
  const std::vector<uint64_t> loops = loopFiles();
  const uint64_t messageFile = messageLineFile();
  for (const Replacing& r : batch) {
    const uint64_t key = r.source->key;
    replaceLabels(key, r.after.scan.labels);
    replaceReadFlags(key, r);
    movePositions(key, r, loops, messageFile);
    for (FileSlot& slot : s.slots)
      if (slot.loaded && slot.key == key) {
        slot.lines = r.after.lines;
        slot.displayName = r.source->name;
      }
    scriptContainer().replacedTexts[key] = r.source->text;
  }
  // Copied lines start with empty caches; dropping the rest too keeps no form of the old text.
  forgetCompiledScript();
  return true;
}

}  // namespace vellum
