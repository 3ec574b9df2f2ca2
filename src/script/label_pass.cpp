#include "script/label_pass.h"

#include <algorithm>
#include <string_view>

#include <vellum/exports.h>

#include "base/report.h"
#include "script/char_classes.h"
#include "script/script_state.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

// " ※ラベル名が不正です" (Shift-JIS)
constexpr std::string_view kInvalidLabelName =
    "\x20\x81\xa6\x83\x89\x83\x78\x83\x8b\x96\xbc\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";
// " ※ラベルが重複しています" (Shift-JIS)
constexpr std::string_view kDuplicateLabel =
    "\x20\x81\xa6\x83\x89\x83\x78\x83\x8b\x82\xaa\x8f\x64\x95\xa1\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";

void reportLabelError(uint64_t fileKey, int lineIndex, std::string_view lineText, std::string_view problem) {
  ReportText text;
  text.ascii(ulltos32(fileKey)).ascii("[").number(lineIndex + 1).ascii("] ").gbk(lineText).sjis(problem);
  errord(text, true);
}

bool isLabelTerminator(char c) { return c == '\t' || c == ' ' || c == '/' || c == ':'; }

// The name of a "*name" line, or false when a byte may not appear in a label name.
bool scanLabelName(std::string_view line, std::string_view& name) {
  size_t end = 1;
  while (end < line.size()) {
    const char c = line[end];
    if (chars::is(chars::kLeadByte, c)) {
      end = std::min(end + 2, line.size());
    } else if (chars::is(chars::kLabelName, c)) {
      ++end;
    } else if (isLabelTerminator(c)) {
      break;
    } else {
      return false;
    }
  }
  name = line.substr(1, end - 1);
  return true;
}

bool isCommandLine(const ScriptLine& line) {
  return !line.tokens.front().empty() && chars::is(chars::kCommandStart, line.tokens.front()[0]);
}

bool isEmptyLine(const ScriptLine& line) { return line.tokens.empty() || line.tokens.front().empty(); }

}  // namespace

bool collectLabels(uint64_t fileKey, const ScriptFile& file) {
  ScriptState& s = scriptState();
  ReadFlagTable& readFlags = s.readFlags[fileKey];
  const int count = static_cast<int>(file.size());
  for (int j = 0; j < count; ++j) {
    const ScriptLine& line = file[j];
    if (isEmptyLine(line) || isCommandLine(line)) continue;
    const std::string& first = line.tokens.front();
    if (first[0] == '*') {
      std::string_view name;
      if (!scanLabelName(first, name)) {
        reportLabelError(fileKey, j, first, kInvalidLabelName);
        return false;
      }
      auto [it, inserted] = s.labels.try_emplace(crc32Of(name), LabelRecord{std::string(name), fileKey, j});
      if (!inserted) {
        reportLabelError(fileKey, j, first, kDuplicateLabel);
        return false;
      }
      continue;
    }
    // A message block runs to the next empty line; only its first line carries a read flag.
    readFlags[j] = 0;
    while (j + 1 < count && !isEmptyLine(file[j + 1])) ++j;
    if (j + 1 < count) ++j;
  }
  s.fileNames[fileKey] = ulltos32(fileKey);
  return true;
}

}  // namespace vellum
