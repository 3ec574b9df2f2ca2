// The key/value text of setting.dat and the save slots: lines of key, "=", value, the value split
// into pieces at commas outside quotes. The text is the engine's double-byte code: a lead byte
// (0x81-0xFC) and its trail byte are one character, so a trail byte is never taken for '=', ',',
// a quote or a line break.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vellum {

using KeyValues = std::unordered_map<std::string, std::vector<std::string>>;

// Keys and values are trimmed of spaces, tabs, CR and LF. A key line without a line feed after it
// is not recorded; a later line with the same key replaces the earlier one; text before a line's
// '=' that holds no '=' itself becomes part of the next key.
KeyValues parseKeyValues(std::string_view text);
// The same walk without copies: line(key, value) for every key line in text order, both trimmed
// views into the text; a value splits with appendValuePieces.
void forEachKeyValueLine(std::string_view text, const std::function<void(std::string_view, std::string_view)>& line);

// Splits a value at every ',' outside a pair of single or double quotes. Each piece is trimmed and
// quotes are kept; the piece after the last comma is always there (an empty value gives one empty
// piece, "a," gives "a" and "").
std::vector<std::string> splitValue(std::string_view value);
// The pieces as views into the value, appended to `pieces`.
void appendValuePieces(std::string_view value, std::vector<std::string_view>& pieces);

// Trims spaces, tabs, CR and LF at both ends.
std::string_view trimKeyValueBlanks(std::string_view text);

}  // namespace vellum
