// Text re-encoded for PCRE2's UTF-8 mode so that each character of the double-byte text is one code
// point: ASCII stays itself, a two-byte character (lead l, trail t) becomes U+100000 + (l << 8 | t)
// and any other single byte b becomes U+F700 + b, all in private-use areas that have no case and
// belong to no class. Matches can then only begin and end at character boundaries, and a class
// range between two double-byte characters runs in the order of their codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/regex/character_model.h"

namespace vellum::regex {

struct CodedText {
  std::string utf8;
  // For every UTF-8 offset that starts a character, and for the end: the offset in the original
  // bytes. Other entries are kNotABoundary.
  std::vector<uint32_t> byteOffset;

  static constexpr uint32_t kNotABoundary = UINT32_MAX;
};

CodedText encodeText(std::string_view text, TextCodePage page);

// The pattern with its characters encoded the same way. Escapes are kept; \xHH and \x{HH} naming a
// byte from 0x80 up are turned into the code point such a byte has on its own in the text.
std::string encodePattern(std::string_view pattern, TextCodePage page);

}  // namespace vellum::regex
