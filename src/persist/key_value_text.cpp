#include "persist/key_value_text.h"

#include <algorithm>

namespace vellum {

namespace {

bool isLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFC;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Index of the next line feed at or after `from`, stepping over double-byte characters; npos when
// there is none.
size_t nextLineFeed(std::string_view text, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (isLeadByte(text[i])) {
      ++i;
    } else if (text[i] == '\n') {
      return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view trimKeyValueBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> splitValueViews(std::string_view value) {
  std::vector<std::string_view> pieces;
  // Room for every comma's piece (quoted commas make it a little generous).
  pieces.reserve(static_cast<size_t>(std::count(value.begin(), value.end(), ',')) + 1);
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (isLeadByte(c)) {
      ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ',') {
      pieces.push_back(trimKeyValueBlanks(value.substr(start, i - start)));
      start = i + 1;
    }
  }
  pieces.push_back(trimKeyValueBlanks(start < value.size() ? value.substr(start) : std::string_view()));
  return pieces;
}

std::vector<std::string> splitValue(std::string_view value) {
  const std::vector<std::string_view> views = splitValueViews(value);
  return std::vector<std::string>(views.begin(), views.end());
}

namespace {

// Calls line(key, value) for every key line in text order, both trimmed.
template <typename Line>
void forEachKeyLine(std::string_view text, Line line) {
  size_t lineStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(text[i])) {
      ++i;
      continue;
    }
    if (text[i] != '=') continue;
    const size_t lineEnd = nextLineFeed(text, i + 1);
    if (lineEnd == std::string_view::npos) break;
    line(trimKeyValueBlanks(text.substr(lineStart, i - lineStart)),
         trimKeyValueBlanks(text.substr(i + 1, lineEnd - i - 1)));
    lineStart = lineEnd + 1;
    i = lineEnd;
  }
}

}  // namespace

KeyValues parseKeyValues(std::string_view text) {
  KeyValues result;
  forEachKeyLine(text, [&](std::string_view key, std::string_view value) {
    result[std::string(key)] = splitValue(value);
  });
  return result;
}

KeyValueViews parseKeyValueViews(std::string_view text) {
  KeyValueViews result;
  forEachKeyLine(text, [&](std::string_view key, std::string_view value) { result[key] = splitValueViews(value); });
  return result;
}

}  // namespace vellum
