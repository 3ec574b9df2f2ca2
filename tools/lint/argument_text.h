// Reading argument text the way the commands read it, for the checks that look at literal values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::lint {

struct ArgumentPiece {
  std::string_view text;  // trimmed
  size_t offset = 0;      // of its first byte, in the argument text
};

// The argument text split at ',' outside quotes, as the commands split it; no arguments at all
// gives no pieces.
std::vector<ArgumentPiece> splitArguments(std::string_view arguments);

// The text of a piece that is one quoted string and nothing else.
bool quotedLiteral(std::string_view piece, std::string& text);

// A label written out: *name, or a quoted "*name". False when the piece is computed.
bool literalLabel(std::string_view piece, std::string& name);

// A whole decimal number, optionally negative.
bool literalNumber(std::string_view piece, long& value);

}  // namespace vellum::lint
