// Turns script text into lines of tokens. A line that does not start with an ASCII letter is one
// token (story text, a label, an empty or indented line); a command line becomes name/argument
// pairs, split at ':' outside quotes, with ';' and '//' starting a comment.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_file.h"

namespace vellum {

// Calls perLine(line bytes without the LF, 1-based line number) for every line. A lead byte takes
// its trail byte with it; after the last LF the rest is a line only when it holds 2 bytes or more.
void splitLines(std::string_view text, const std::function<void(std::string_view, int)>& perLine);

// Splits at `separator` outside quotes ('"' or '\'', closed only by the same character) and trims
// every piece. With `comments`, ';' or '//' outside quotes ends the text.
std::vector<std::string_view> splitSegments(std::string_view text, char separator, bool comments);

// Trims bytes outside the non-blank class (tab, LF, CR, space) from both ends.
std::string_view trimBlanks(std::string_view text);

// Appends the tokens of one line to `line`. Registers defsub, funcLua and funcSqu names as it goes,
// so later lines can use them as commands.
void tokenizeLine(std::string_view text, ScriptLine& line);

// The whole text as lines, appended to `file`.
void parseScript(std::string_view text, ScriptFile& file);

}  // namespace vellum
