#include "persist/read_flags_file.h"

#include <vellum/exports.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/report.h"
#include "persist/compressed_container.h"
#include "persist/persist_messages.h"
#include "persist/persist_state.h"
#include "persist/settings_file.h"
#include "script/script_state.h"

namespace vellum {

namespace {

bool isLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFC;
}

std::string alreadyPath() { return persistState().saveDirectory + "already.dat"; }

// A table's line indexes in ascending order.
std::vector<int> linesInOrder(const ReadFlagTable& table) {
  std::vector<int> lines;
  lines.reserve(table.size());
  for (const auto& entry : table) lines.push_back(entry.first);
  std::sort(lines.begin(), lines.end());
  return lines;
}

void applyLine(std::string_view key, std::string_view digits) {
  auto& tables = scriptState().readFlags;
  const auto found = tables.find(stoull32(std::string(key)));
  if (found == tables.end()) {
    showErrorBox(ReportText().gbk(key).gbk(persist_messages::kUnknownScriptKey));
    return;
  }
  const std::vector<int> lines = linesInOrder(found->second);
  for (size_t i = 0; i < lines.size() && i < digits.size(); ++i) {
    const char d = digits[i];
    found->second[lines[i]] = d >= '0' && d <= '9' ? d - '0' : 0;
  }
}

}  // namespace

std::string composeReadFlags() {
  const auto& tables = scriptState().readFlags;
  // Files in key order, so the same flags always give the same file.
  std::vector<uint64_t> keys;
  for (const auto& entry : tables) keys.push_back(entry.first);
  std::sort(keys.begin(), keys.end());
  std::string text;
  for (uint64_t key : keys) {
    const ReadFlagTable& table = tables.at(key);
    text += "S" + ulltos32(key) + "=";
    for (int line : linesInOrder(table)) text += table.at(line) ? '1' : '0';
    text += "\r\n";
  }
  return text;
}

void applyReadFlags(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    // The line's first byte (the "S") is skipped; the key runs to the '='.
    size_t keyStart = i + (isLeadByte(text[i]) ? 2 : 1);
    size_t j = keyStart;
    while (j < text.size() && text[j] != '=' && text[j] != '\n') j += isLeadByte(text[j]) ? 2 : 1;
    if (j >= text.size()) break;
    if (text[j] == '\n') {  // a line without '=' carries no flags
      i = j + 1;
      continue;
    }
    const std::string_view key = text.substr(std::min(keyStart, j), j > keyStart ? j - keyStart : 0);
    size_t end = j + 1;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') end += isLeadByte(text[end]) ? 2 : 1;
    end = std::min(end, text.size());
    applyLine(key, text.substr(j + 1, end - j - 1));
    while (end < text.size() && text[end] != '\n') end += isLeadByte(text[end]) ? 2 : 1;
    i = end + 1;
  }
}

bool saveAlready() {
  const std::string text = composeReadFlags();
  const std::string path = alreadyPath();
  if (persistState().saveDirectory.empty() || !ensureSaveDirectory(path)) return false;
  return saveDataZlib(path, true, text) == 0;
}

void readAlreadyFile() {
  const std::string path = alreadyPath();
  std::error_code ec;
  if (persistState().saveDirectory.empty() || !std::filesystem::is_regular_file(path, ec)) return;
  std::string text;
  if (loadDataZlib(path, true, text) != 0) return;
  applyReadFlags(text);
}

}  // namespace vellum
