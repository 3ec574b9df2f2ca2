#include "persist/key_value_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace vellum {

namespace {

bool isLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFC;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Index of the next line feed at or after `from` (where a character begins), stepping over
// double-byte characters; npos when there is none. A candidate from memchr is a trail byte when an
// odd run of lead-range bytes stands right before it: every character starts anew after a byte
// outside that range, so the run pairs up from its start.
size_t nextLineFeed(std::string_view text, size_t from) {
  while (from < text.size()) {
    const void* found = std::memchr(text.data() + from, '\n', text.size() - from);
    if (!found) break;
    const size_t feed = static_cast<size_t>(static_cast<const char*>(found) - text.data());
    size_t run = 0;
    while (feed - run > from && isLeadByte(text[feed - run - 1])) ++run;
    if (run % 2 == 0) return feed;
    from = feed + 1;
  }
  return std::string_view::npos;
}

// What appendValuePieces looks for, by byte: most bytes are none of these.
enum : uint8_t { kPlain, kLead, kQuote, kComma };
constexpr std::array<uint8_t, 256> kValueBytes = [] {
  std::array<uint8_t, 256> kinds{};
  for (int b = 0x81; b <= 0xFC; ++b) kinds[static_cast<size_t>(b)] = kLead;
  kinds['"'] = kinds['\''] = kQuote;
  kinds[','] = kComma;
  return kinds;
}();

// Whether none of eight bytes is one appendValuePieces looks at: a comma, a quote, or a byte of
// 0x80 and above (every lead byte is one). A byte of x is zero exactly when
// ((x & 0x7F..) + 0x7F..) | x has its top bit clear there (no carry crosses a byte).
bool plainWord(const char* bytes) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full, kTop = 0x8080808080808080ull;
  const auto nonZeroTops = [](uint64_t x) { return ((x & kLow7) + kLow7) | x; };
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  const uint64_t wanted = ~(nonZeroTops(word ^ 0x2C2C2C2C2C2C2C2Cull) & nonZeroTops(word ^ 0x2222222222222222ull) &
                            nonZeroTops(word ^ 0x2727272727272727ull)) |
                          word;
  return (wanted & kTop) == 0;
}

}  // namespace

std::string_view trimKeyValueBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

void appendValuePieces(std::string_view value, std::vector<std::string_view>& pieces) {
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    // Long runs of digits and separators (a picture-log record) are passed eight bytes at a time.
    while (i + 8 <= value.size() && plainWord(value.data() + i)) i += 8;
    if (i >= value.size()) break;
    const char c = value[i];
    const uint8_t kind = kValueBytes[static_cast<unsigned char>(c)];
    if (kind == kPlain) continue;
    if (kind == kLead) {
      ++i;
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (kind == kQuote) {
      quote = c;
    } else {
      pieces.push_back(trimKeyValueBlanks(value.substr(start, i - start)));
      start = i + 1;
    }
  }
  pieces.push_back(trimKeyValueBlanks(start < value.size() ? value.substr(start) : std::string_view()));
}

std::vector<std::string> splitValue(std::string_view value) {
  std::vector<std::string_view> views;
  // Room for every comma's piece (quoted commas make it a little generous).
  views.reserve(static_cast<size_t>(std::count(value.begin(), value.end(), ',')) + 1);
  appendValuePieces(value, views);
  return std::vector<std::string>(views.begin(), views.end());
}

void forEachKeyValueLine(std::string_view text, const std::function<void(std::string_view, std::string_view)>& line) {
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

KeyValues parseKeyValues(std::string_view text) {
  KeyValues result;
  forEachKeyValueLine(text, [&](std::string_view key, std::string_view value) {
    result[std::string(key)] = splitValue(value);
  });
  return result;
}

}  // namespace vellum
