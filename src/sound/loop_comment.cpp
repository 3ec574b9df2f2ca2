#include "sound/loop_comment.h"

#include <cctype>
#include <string>

namespace vellum {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Items split at commas outside single or double quotes; double-byte characters are skipped whole.
std::vector<std::string_view> splitItems(std::string_view text) {
  std::vector<std::string_view> items;
  char quote = 0;
  size_t begin = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x81 && c <= 0xFC && i + 1 < text.size()) {
      ++i;
    } else if (quote) {
      if (c == static_cast<unsigned char>(quote)) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = static_cast<char>(c);
    } else if (c == ',') {
      items.push_back(trim(text.substr(begin, i - begin)));
      begin = i + 1;
    }
  }
  items.push_back(trim(text.substr(begin)));
  return items;
}

// Decimal 64-bit: optional sign, digits, anything after them ignored; saturates instead of overflowing.
int64_t decimal(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value > (INT64_MAX - 9) / 10) return negative ? INT64_MIN : INT64_MAX;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

// ms × rate / 1000 in 64 bits, kept from overflowing by absurd values.
int64_t msToSamples(int64_t ms, int rate) {
  const int64_t limit = INT64_MAX / 384000;
  if (ms > limit) ms = limit;
  if (ms < -limit) ms = -limit;
  return ms * rate / 1000;
}

}  // namespace

LoopCommentResult parseLoopComment(const std::vector<std::string_view>& comments, int sampleRate, LoopPoints& points) {
  for (std::string_view comment : comments) {
    if (comment.find("COMMENT") == std::string_view::npos) continue;
    // Only the first such comment counts.
    const size_t equals = comment.find('=');
    if (equals == std::string_view::npos) return LoopCommentResult::None;
    std::string_view value = comment.substr(equals + 1);
    value = trim(value.substr(0, value.find('=')));
    size_t word = 0;
    while (word < value.size() && std::isalpha(static_cast<unsigned char>(value[word]))) ++word;
    const std::string_view kind = value.substr(0, word);
    if (kind != "setTime" && kind != "setSample") return LoopCommentResult::None;
    const std::vector<std::string_view> items = splitItems(value.substr(word));
    if (items.size() != 3) return LoopCommentResult::WrongCount;
    int64_t numbers[3];
    for (int i = 0; i < 3; ++i) {
      numbers[i] = decimal(items[static_cast<size_t>(i)]);
      if (kind == "setTime") numbers[i] = msToSamples(numbers[i], sampleRate);
    }
    points = LoopPoints{numbers[0], numbers[1], numbers[2]};
    return LoopCommentResult::Found;
  }
  return LoopCommentResult::None;
}

}  // namespace vellum
