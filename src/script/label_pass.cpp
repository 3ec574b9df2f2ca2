#include "script/label_pass.h"

#include <algorithm>
#include <string_view>

#include <vellum/exports.h>

#include "base/report.h"
#include "script/char_classes.h"
#include "script/script_container.h"
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

bool isLabelTerminator(char c) { return c == '\t' || c == ' ' || c == '/' || c == ':'; }

// The name of a "*name" line; false, with the offending byte's offset, when a byte may not appear
// in a label name.
bool scanLabelName(std::string_view line, std::string_view& name, size_t& badByte) {
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
      badByte = end;
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

std::vector<LabelLine> readLabelLines(const ScriptFile& file) {
  std::vector<LabelLine> lines(file.size());
  const size_t count = file.size();
  for (size_t j = 0; j < count; ++j) {
    const ScriptLine& line = file[j];
    if (isEmptyLine(line)) continue;
    if (isCommandLine(line)) {
      lines[j].role = LineRole::Command;
      continue;
    }
    const std::string& first = line.tokens.front();
    if (first[0] == '*') {
      LabelLine& label = lines[j];
      label.role = scanLabelName(first, label.name, label.badByte) ? LineRole::Label : LineRole::InvalidLabel;
      continue;
    }
    // A message block runs to the next empty line; only its first line carries a read flag.
    lines[j].role = LineRole::MessageStart;
    while (j + 1 < count && !isEmptyLine(file[j + 1])) lines[++j].role = LineRole::MessageLine;
    if (j + 1 < count) lines[++j].role = LineRole::MessageLine;
  }
  return lines;
}

LabelScan scanLabels(uint64_t fileKey, const ScriptFile& file) {
  LabelScan scan;
  const std::vector<LabelLine> lines = readLabelLines(file);
  for (size_t j = 0; j < lines.size(); ++j) {
    const int index = static_cast<int>(j);
    switch (lines[j].role) {
      case LineRole::InvalidLabel:
        scan.errorLine = index;
        scan.errorText = file[j].tokens.front();
        return scan;
      case LineRole::Label:
        scan.labels.push_back(LabelRecord{std::string(lines[j].name), fileKey, index});
        break;
      case LineRole::MessageStart:
        scan.messageStarts.push_back(index);
        break;
      default:
        break;
    }
  }
  return scan;
}

void reportLabelError(uint64_t fileKey, int lineIndex, std::string_view lineText, bool duplicate) {
  ReportText text;
  text.gbk(scriptFileName(fileKey)).ascii("[").number(lineIndex + 1).ascii("] ").gbk(lineText);
  text.sjis(duplicate ? kDuplicateLabel : kInvalidLabelName);
  errord(text, true);
}

bool collectLabels(uint64_t fileKey, const ScriptFile& file) {
  ScriptState& s = scriptState();
  // Reports name the file by its source path when the run knows it, else by its key.
  const auto& sources = scriptContainer().sourceNames;
  const auto source = sources.find(fileKey);
  s.fileNames[fileKey] = source != sources.end() ? source->second : ulltos32(fileKey);
  const LabelScan scan = scanLabels(fileKey, file);
  // Labels before an invalid one still enter the table, as a line-by-line pass leaves them.
  for (const LabelRecord& label : scan.labels) {
    if (!s.labels.try_emplace(crc32Of(label.name), label).second) {
      reportLabelError(fileKey, label.line, file[label.line].tokens.front(), true);
      return false;
    }
  }
  if (scan.errorLine >= 0) {
    reportLabelError(fileKey, scan.errorLine, scan.errorText, false);
    return false;
  }
  ReadFlagTable& readFlags = s.readFlags[fileKey];
  for (int start : scan.messageStarts) readFlags[start] = 0;
  return true;
}

}  // namespace vellum
