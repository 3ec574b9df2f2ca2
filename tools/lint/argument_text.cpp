#include "argument_text.h"

#include <charconv>

#include "script/char_classes.h"
#include "script/tokenizer.h"

namespace vellum::lint {

std::vector<ArgumentPiece> splitArguments(std::string_view arguments) {
  std::vector<ArgumentPiece> pieces;
  if (trimBlanks(arguments).empty()) return pieces;
  for (std::string_view piece : splitSegments(arguments, ',', false)) {
    // Pieces are views into the argument text.
    pieces.push_back({piece, static_cast<size_t>(piece.data() - arguments.data())});
  }
  return pieces;
}

bool quotedLiteral(std::string_view piece, std::string& text) {
  if (piece.size() < 2 || (piece.front() != '"' && piece.front() != '\'') || piece.back() != piece.front())
    return false;
  const std::string_view inner = piece.substr(1, piece.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    if (chars::is(chars::kLeadByte, inner[i])) ++i;
    else if (inner[i] == piece.front()) return false;  // two strings with something between them
  }
  text = std::string(inner);
  return true;
}

bool literalLabel(std::string_view piece, std::string& name) {
  std::string quoted;
  if (quotedLiteral(piece, quoted)) {
    if (quoted.empty() || quoted[0] != '*') return false;
    name = quoted.substr(1);
    return true;
  }
  if (piece.empty() || piece[0] != '*') return false;
  size_t end = 1;
  while (end < piece.size()) {
    if (chars::is(chars::kLeadByte, piece[end])) end += 2;
    else if (chars::is(chars::kLabelName, piece[end])) ++end;
    else break;
  }
  if (end < piece.size()) return false;
  name = std::string(piece.substr(1));
  return true;
}

bool literalNumber(std::string_view piece, long& value) {
  const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
  return error == std::errc() && end == piece.data() + piece.size();
}

}  // namespace vellum::lint
