#include "persist/script_save_lines.h"

#include <vellum/exports.h>

#include <algorithm>

#include "script/control_flow.h"
#include "script/script_state.h"
#include "script/variables.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

bool isSaved(const std::string& name) { return name.size() > 2 && name.compare(0, 2, "g_") == 0; }

bool validName(std::string_view name) {
  if (!(name.size() > 2 && name.substr(0, 2) == "g_")) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
          static_cast<unsigned char>(c) >= 0x80))
      return false;
  return true;
}

void resumeText(std::string& out, const char* key, uint64_t fileKey, int64_t line) {
  out += std::string(key) + "=" + key32Text(fileKey) + "," + std::to_string(line) + "\n";
}

}  // namespace

void writeVariableSaveLines(std::string& out) {
  const VariableStore& v = variables();
  std::vector<std::string> names;
  for (const auto& [name, value] : v.namedInts)
    if (isSaved(name)) names.push_back(name);
  std::sort(names.begin(), names.end());
  out += "Integer=";
  for (const std::string& name : names) out += name + "=" + std::to_string(v.namedInts.at(name)) + ",";
  out += "\n";
  names.clear();
  for (const auto& [name, value] : v.namedStrings)
    if (isSaved(name)) names.push_back(name);
  std::sort(names.begin(), names.end());
  out += "String=";
  for (const std::string& name : names) out += name + "='" + SaveBlock::field(v.namedStrings.at(name)) + "',";
  out += "\n";
}

bool readVariableSaveLines(const SaveBlock& block, VariableSaveRecord& record) {
  record = {};
  if (const auto* pieces = block.find("Integer")) {
    for (const std::string_view piece : *pieces) {
      if (piece.empty()) continue;
      const size_t eq = piece.find('=');
      if (eq == std::string_view::npos || !validName(piece.substr(0, eq))) return reportBrokenSave("Integer");
      const std::string_view one[] = {piece.substr(eq + 1)};
      SaveLineReader in(block, one);
      const int32_t value = in.int32();
      if (!in.ok) return reportBrokenSave("Integer");
      record.integers.emplace_back(piece.substr(0, eq), value);
    }
  }
  if (const auto* pieces = block.find("String")) {
    for (const std::string_view piece : *pieces) {
      if (piece.empty()) continue;
      const size_t eq = piece.find('=');
      if (eq == std::string_view::npos || !validName(piece.substr(0, eq))) return reportBrokenSave("String");
      const std::string_view value = piece.substr(eq + 1);
      if (value.size() < 2 || value.front() != '\'' || value.back() != '\'') return reportBrokenSave("String");
      record.strings.emplace_back(piece.substr(0, eq), block.text(value.substr(1, value.size() - 2)));
    }
  }
  return true;
}

void applyVariableSaveLines(const VariableSaveRecord& record) {
  VariableStore& v = variables();
  for (const auto& [name, value] : record.integers) v.namedInts[name] = value;
  for (const auto& [name, value] : record.strings) v.namedStrings[name] = value;
}

// The loop moves on one line after a restore, so each position is written one line before the
// line that is to run first.
void writeResumeLine(std::string& out) {
  const ScriptState& s = scriptState();
  const uint64_t current = s.slots[s.cursor.slot].key;
  if (!s.callFrames.empty()) {
    // The line of the outermost call runs again (in a message wait that shows the message again).
    // A call followed by more commands on its line left its frame one line before it.
    const CallFrame& frame = s.callFrames.front();
    const int64_t line = frame.resumeLine - (frame.resumeToken == 0 ? 1 : 0);
    resumeText(out, "File", s.callerKeys.front(), line);
  } else if (s.messageWaited) {
    resumeText(out, "File", current, s.cursor.line - 1);
  } else {
    // The line after this one does not run again: a game opens its save menu there.
    resumeText(out, "File", current, s.cursor.line + 1);
  }
}

void writeCurrentLineResumeLine(std::string& out) {
  const ScriptState& s = scriptState();
  resumeText(out, "File", s.slots[s.cursor.slot].key, s.cursor.line - 1);
}

bool writeLabelResumeLine(std::string& out, std::string_view labelText) {
  const ScriptState& s = scriptState();
  const auto label = s.labels.find(labelKeyOf(labelText));
  if (labelText.size() < 2 || label == s.labels.end()) return false;
  resumeText(out, "File2", label->second.fileKey, label->second.line - 1);
  return true;
}

bool readResumePosition(const SaveBlock& block, bool preferFile2, ResumePosition& position) {
  position = {};
  const char* first = preferFile2 ? "File2" : "File";
  const char* second = preferFile2 ? "File" : "File2";
  const char* key = first;
  const auto* pieces = block.find(first);
  if (!pieces) pieces = block.find(key = second);
  if (!pieces) return true;
  SaveLineReader in(block, *pieces);
  position.key = in.key32();
  const int64_t line = in.integer();
  if (!in.ok || line < -1 || line > 10000000) return reportBrokenSave(key);
  position.present = true;
  position.line = static_cast<int>(line);
  const ScriptState& s = scriptState();
  if (position.key == 0 || position.key == startFileKey()) {
    position.fileJumpRequest = 1;
  } else if (position.key == secondFileKey() && s.slots[1].loaded) {
    position.fileJumpRequest = 2;
  } else if (s.fileNames.count(position.key)) {
    position.fileJumpRequest = 4;
  } else {
    return reportBrokenSave(std::string(key) + "=" + key32Text(position.key));
  }
  return true;
}

void applyResumePosition(const ResumePosition& position) {
  ScriptState& s = scriptState();
  s.fileJumpRequest = 1;
  if (position.present) {
    if (position.fileJumpRequest == 4) {
      s.otherFileKey = position.key;
      const auto name = s.fileNames.find(position.key);
      s.slots[2].displayName = name != s.fileNames.end() ? name->second : std::string();
    }
    s.fileJumpRequest = position.fileJumpRequest;
    s.cursor.line = position.line;
    // A save made in a message wait resumes at that message's line, which may sit inside a message
    // block: it is shown on a fresh page without starting a new message (the read-flag hook knows
    // only the first line of each block).
    const uint64_t key = position.fileJumpRequest == 1   ? startFileKey()
                         : position.fileJumpRequest == 2 ? secondFileKey()
                                                         : position.key;
    const auto table = s.readFlags.find(key);
    const int next = position.line + 1;
    s.lastTextLine = table != s.readFlags.end() && !table->second.count(next) ? next : -1;
  }
  s.cursor.token = 0;
  s.cursor.jumpFlag = 1;
  static const uint32_t loadLabel = crc32Of("load_lb");
  if (s.labels.count(loadLabel)) s.pendingSubroutine = loadLabel;
}

}  // namespace vellum
