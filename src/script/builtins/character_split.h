// Character-wise scanning of double-byte text shared by count, match and split.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

// The text is exactly one character (one byte, or a lead byte and its trail byte).
bool isOneCharacter(std::string_view text);

// Byte offsets of every character of the text equal to `character`.
std::vector<size_t> findCharacter(std::string_view text, std::string_view character);

// The pieces between occurrences of the one-character separator.
std::vector<std::string> splitAtCharacter(std::string_view text, std::string_view separator);

}  // namespace vellum
