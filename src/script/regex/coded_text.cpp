#include "script/regex/coded_text.h"

namespace vellum::regex {

namespace {

constexpr uint32_t kSingleHighBase = 0xF700;
constexpr uint32_t kDoubleByteBase = 0x100000;

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

uint32_t codePointAt(std::string_view text, size_t i, size_t length) {
  const auto first = static_cast<unsigned char>(text[i]);
  if (length == 2) return kDoubleByteBase + (uint32_t{first} << 8 | static_cast<unsigned char>(text[i + 1]));
  return first < 0x80 ? first : kSingleHighBase + first;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// At pattern[i] == '\\' followed by 'x': the length of a \xHH or \x{HH} escape naming a byte of
// 0x80 or more, and that byte; 0 when it is some other escape.
size_t highByteEscape(std::string_view pattern, size_t i, uint32_t& byte) {
  size_t at = i + 2;
  const bool braced = at < pattern.size() && pattern[at] == '{';
  if (braced) ++at;
  uint32_t value = 0;
  size_t digits = 0;
  while (at < pattern.size() && digits < (braced ? 8u : 2u) && hexValue(pattern[at]) >= 0) {
    value = value * 16 + static_cast<uint32_t>(hexValue(pattern[at]));
    ++at;
    ++digits;
  }
  if (digits == 0) return 0;
  if (braced) {
    if (at >= pattern.size() || pattern[at] != '}') return 0;
    ++at;
  }
  if (value < 0x80 || value > 0xFF) return 0;
  byte = value;
  return at - i;
}

}  // namespace

CodedText encodeText(std::string_view text, TextCodePage page) {
  CodedText coded;
  coded.utf8.reserve(text.size() * 2);
  coded.byteOffset.reserve(text.size() * 2 + 1);
  for (size_t i = 0; i < text.size();) {
    const size_t length = characterLength(text, i, page);
    // byteOffset is as long as utf8 here: the character's first unit gets its byte offset.
    coded.byteOffset.push_back(static_cast<uint32_t>(i));
    appendUtf8(coded.utf8, codePointAt(text, i, length));
    coded.byteOffset.resize(coded.utf8.size(), CodedText::kNotABoundary);
    i += length;
  }
  coded.byteOffset.push_back(static_cast<uint32_t>(text.size()));
  return coded;
}

std::string encodePattern(std::string_view pattern, TextCodePage page) {
  std::string out;
  out.reserve(pattern.size() * 2);
  for (size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) {
      uint32_t byte = 0;
      const size_t escape = pattern[i + 1] == 'x' ? highByteEscape(pattern, i, byte) : 0;
      if (escape) {
        out += "\\x{";
        static const char kDigits[] = "0123456789ABCDEF";
        const uint32_t cp = kSingleHighBase + byte;
        for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kDigits[(cp >> shift) & 0xF]);
        out.push_back('}');
        i += escape;
        continue;
      }
      out.push_back('\\');
      ++i;
    }
    const size_t length = characterLength(pattern, i, page);
    appendUtf8(out, codePointAt(pattern, i, length));
    i += length;
  }
  return out;
}

}  // namespace vellum::regex
