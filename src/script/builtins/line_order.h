// The order sortText and setFileList put lines and names in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/builtins/text_lines.h"

namespace vellum {

// Flag bits shared by sortText and setFileList.
constexpr int kSortUnique = 1;      // sortText: drop adjacent lines that compare equal afterwards
constexpr int kSortDescending = 2;
constexpr int kSortFolded = 4;      // compare case- and kana-insensitively

// The text as the folding comparison sees it: katakana become hiragana, full-width and ASCII
// capitals become small letters (characters of the encoding; multibyte text is the game's code
// page, GBK).
std::string foldedForComparison(std::string_view text, TextEncoding encoding);

// Sorts lines[first, last) bytewise or by their folded copies, ascending or descending. The sort is
// not stable: lines that compare equal end in no particular order. With kSortUnique, adjacent
// lines that compare equal are then reduced to one. Returns the new end of the range.
size_t sortLines(std::vector<std::string>& lines, size_t first, size_t last, int flags, TextEncoding encoding);

}  // namespace vellum
