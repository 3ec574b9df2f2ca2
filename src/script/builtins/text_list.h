// The TextList: one process-wide list of lines that loadText fills and the other text commands
// read, change, sort and save, with the encoding the last loadText found.
#pragma once

#include <string>
#include <vector>

#include "script/builtins/text_lines.h"

namespace vellum {

struct TextList {
  std::vector<std::string> lines;
  TextEncoding encoding = TextEncoding::Multibyte;
};

TextList& textList();
void resetTextList();

}  // namespace vellum
