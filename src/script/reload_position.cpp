#include "script/reload_position.h"

#include <algorithm>

namespace vellum {

namespace {

const LabelRecord* labelNamed(const FileLabels& labels, const std::string& name) {
  const auto found = std::find_if(labels.begin(), labels.end(), [&](const LabelRecord& l) { return l.name == name; });
  return found != labels.end() ? &*found : nullptr;
}

// The first label line of the new text after `line`, or the line count.
int nextLabelLine(const FileLabels& labels, int line, int lineCount) {
  for (const LabelRecord& l : labels)
    if (l.line > line) return l.line;
  return lineCount;
}

}  // namespace

int lineAfterReload(const FileLabels& oldLabels, const FileLabels& newLabels, int newLineCount, int line) {
  int anchorOld = -1;  // the start of the file counts as a label just before line 0
  int anchorNew = -1;
  for (auto it = oldLabels.rbegin(); it != oldLabels.rend(); ++it) {
    if (it->line > line) continue;
    if (const LabelRecord* kept = labelNamed(newLabels, it->name)) {
      anchorOld = it->line;
      anchorNew = kept->line;
      break;
    }
  }
  const int wanted = anchorNew + (line - anchorOld);
  const int end = nextLabelLine(newLabels, anchorNew, newLineCount);
  return std::max(0, std::min(wanted, end - 1));
}

LinePosition positionAfterReload(const ScriptFile& oldFile, const FileLabels& oldLabels, const ScriptFile& newFile,
                                 const FileLabels& newLabels, LinePosition position) {
  const int count = static_cast<int>(newFile.size());
  const int line = lineAfterReload(oldLabels, newLabels, count, position.line);
  if (position.token == 0) return {line, 0};
  const bool same = position.line >= 0 && position.line < static_cast<int>(oldFile.size()) && line < count &&
                    oldFile[position.line].tokens == newFile[line].tokens;
  return same ? LinePosition{line, position.token} : LinePosition{line + 1, 0};
}

}  // namespace vellum
