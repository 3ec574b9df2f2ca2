#include "script/regex/transliteration.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vellum::regex {

namespace {

// A character as one number: a byte, or lead << 8 | trail.
using Code = uint32_t;

constexpr Code kLongestRange = 0x10000;

Code codeAt(std::string_view text, size_t i, size_t length) {
  const auto first = static_cast<unsigned char>(text[i]);
  return length == 2 ? Code{first} << 8 | static_cast<unsigned char>(text[i + 1]) : first;
}

void appendCode(std::string& out, Code code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// One list item at `at`: an escape or a character.
Code readItem(std::string_view list, size_t& at, TextCodePage page) {
  if (list[at] == '\\' && at + 1 < list.size()) {
    const size_t length = characterLength(list, at + 1, page);
    const Code escaped = codeAt(list, at + 1, length);
    at += 1 + length;
    switch (escaped) {
      case 'n': return '\n';
      case 'r': return '\r';
      case 't': return '\t';
      default: return escaped;
    }
  }
  const size_t length = characterLength(list, at, page);
  const Code code = codeAt(list, at, length);
  at += length;
  return code;
}

bool parseList(std::string_view list, TextCodePage page, std::vector<Code>& codes, std::string& error) {
  for (size_t at = 0; at < list.size();) {
    const Code first = readItem(list, at, page);
    if (at + 1 < list.size() && list[at] == '-') {
      size_t after = at + 1;
      const Code last = readItem(list, after, page);
      if (last < first || (first > 0xFF) != (last > 0xFF) || last - first >= kLongestRange) {
        error = "invalid range in transliteration";
        return false;
      }
      for (Code c = first; c <= last; ++c) codes.push_back(c);
      at = after;
      continue;
    }
    codes.push_back(first);
  }
  return true;
}

}  // namespace

int transliterate(const PerlExpression& expression, std::string_view text, std::string& out, std::string& error) {
  const ExpressionOptions& o = expression.options;
  std::vector<Code> from, to;
  if (!parseList(expression.pattern, o.codePage, from, error) ||
      !parseList(expression.replacement, o.codePage, to, error)) {
    return -1;
  }
  const bool identity = to.empty() && !o.deleteUnmatched;
  if (!o.deleteUnmatched && !to.empty() && to.size() < from.size()) to.resize(from.size(), to.back());
  std::unordered_map<Code, size_t> place;
  for (size_t i = 0; i < from.size(); ++i) place.try_emplace(from[i], i);

  out.clear();
  out.reserve(text.size());
  int count = 0;
  // The code written by the previous translated character, for squeezing runs.
  bool haveLast = false;
  Code lastTranslated = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t length = characterLength(text, i, o.codePage);
    const Code c = codeAt(text, i, length);
    i += length;
    const auto found = place.find(c);
    const bool listed = (found != place.end()) != o.complement;
    if (!listed) {
      appendCode(out, c);
      haveLast = false;
      continue;
    }
    ++count;
    std::optional<Code> target;
    if (identity) {
      target = c;
    } else if (o.complement) {
      if (!to.empty()) target = to.back();
    } else if (found->second < to.size()) {
      target = to[found->second];
    }
    if (!target) continue;  // deleted
    if (o.squeeze && haveLast && lastTranslated == *target) continue;
    appendCode(out, *target);
    haveLast = true;
    lastTranslated = *target;
  }
  return count;
}

}  // namespace vellum::regex
