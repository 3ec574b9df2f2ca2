// Where a position in a file lies after the file's text was replaced: under the same label, the
// same number of lines after it, or the nearest earlier line of that label's part that still exists.
#pragma once

#include <vector>

#include "script/script_state.h"

namespace vellum {

// The labels of one file in line order (as the label pass finds them).
using FileLabels = std::vector<LabelRecord>;

struct LinePosition {
  int line = 0;   // 0-based
  int token = 0;  // the pair to start at within the line
};

// Maps `line` of the old text to the new one. The anchor is the nearest label at or before the
// line that the new text still has (else the start of the file); the result stays before the next
// label of the new text and inside it.
int lineAfterReload(const FileLabels& oldLabels, const FileLabels& newLabels, int newLineCount, int line);

// The same for a position inside a line: a pair index survives only where the line is unchanged;
// a changed line that was partly run is left behind (the position moves to the next line's start).
LinePosition positionAfterReload(const ScriptFile& oldFile, const FileLabels& oldLabels, const ScriptFile& newFile,
                                 const FileLabels& newLabels, LinePosition position);

}  // namespace vellum
