#include "script/builtins/character_split.h"

#include "script/regex/character_model.h"

namespace vellum {

bool isOneCharacter(std::string_view text) { return !text.empty() && regex::characterLength(text, 0) == text.size(); }

std::vector<size_t> findCharacter(std::string_view text, std::string_view character) {
  std::vector<size_t> found;
  for (size_t i = 0; i < text.size();) {
    const size_t length = regex::characterLength(text, i);
    if (text.substr(i, length) == character) found.push_back(i);
    i += length;
  }
  return found;
}

std::vector<std::string> splitAtCharacter(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t at : findCharacter(text, separator)) {
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

}  // namespace vellum
