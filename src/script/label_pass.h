// The label pass over one parsed file: labels into the label table, the first line of every message
// block into the file's read-flag table, and the file's display name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_file.h"
#include "script/script_state.h"

namespace vellum {

// How the label pass reads a line. A message block runs from its first text line to the next empty
// line; every line inside it is the block's, so a "*name" there is text, not a label.
enum class LineRole : uint8_t {
  Empty,
  Command,       // a command line outside a message block
  Label,
  InvalidLabel,  // a "*..." line with a byte a label name may not hold
  MessageStart,  // the first line of a message block
  MessageLine,   // a later line of a message block, or the empty line that ends it
};

struct LabelLine {
  LineRole role = LineRole::Empty;
  std::string_view name;  // Label: the name after '*'
  size_t badByte = 0;     // InvalidLabel: the offset of the first byte that may not be there
};

// The pass's reading of every line of the file (views into its tokens). It reads on past an invalid
// label, where collectLabels stops.
std::vector<LabelLine> readLabelLines(const ScriptFile& file);

// What the pass finds in one file, before anything enters the tables.
struct LabelScan {
  std::vector<LabelRecord> labels;  // in line order
  std::vector<int> messageStarts;   // 0-based first line of each message block
  // The first invalid label name, when there is one (errorLine -1 otherwise).
  int errorLine = -1;
  std::string errorText;
};

LabelScan scanLabels(uint64_t fileKey, const ScriptFile& file);

// Reports a label line the pass refused: `duplicate` for a name already taken, else a name that is
// not valid. The file is named by its display name.
void reportLabelError(uint64_t fileKey, int lineIndex, std::string_view lineText, bool duplicate);

// Returns false after reporting an invalid or duplicate label; start-up then fails.
bool collectLabels(uint64_t fileKey, const ScriptFile& file);

}  // namespace vellum
