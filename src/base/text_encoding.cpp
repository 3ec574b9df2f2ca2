#include "base/text_encoding.h"

#include "base/text_encoding_tables.h"

namespace vellum {

namespace {

const CodePageTable& decodeTable(CodePage page) { return page == CodePage::Gbk ? kGbkDecode : kShiftJisDecode; }
const CodePageTable& encodeTable(CodePage page) { return page == CodePage::Gbk ? kGbkEncode : kShiftJisEncode; }

// Writes a basic-plane code point as UTF-8 at `out`; returns the end.
char* writeUtf8(char* out, uint32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | cp >> 6);
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | cp >> 12);
    *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The well-formed UTF-8 character at the start of `s` (no overlong forms, surrogates or code
// points past U+10FFFF): its code point and length, or a length of 0.
struct Utf8Character {
  uint32_t codePoint = 0;
  size_t length = 0;
};
Utf8Character readUtf8(std::string_view s) {
  const auto lead = static_cast<unsigned char>(s[0]);
  if (lead < 0x80) return {lead, 1};
  size_t length;
  uint32_t cp;
  uint32_t lowest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1Fu, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0Fu, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07u, lowest = 0x10000;
  } else {
    return {};
  }
  if (s.size() < length) return {};
  for (size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (!isContinuation(c)) return {};
    cp = cp << 6 | (c & 0x3Fu);
  }
  if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, length};
}

}  // namespace

// A byte that decodes alone is one character; any other byte starts a double byte with the byte
// after it. A byte that starts neither becomes U+FFFD and decoding goes on at the next byte, so a
// lost trail byte costs one character, not the rest of the text.
std::string toUtf8(std::string_view bytes, CodePage page) {
  const CodePageTable& table = decodeTable(page);
  // Each byte gives at most three bytes of UTF-8 (U+FFFD, or a single byte such as the euro sign).
  std::string out(bytes.size() * 3, '\0');
  char* end = out.data();
  for (size_t i = 0; i < bytes.size();) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    uint16_t cp = table.find(first);
    size_t used = 1;
    if (cp == kNoCodePageValue && i + 1 < bytes.size()) {
      cp = table.find(first << 8 | static_cast<unsigned char>(bytes[i + 1]));
      used = 2;
    }
    if (cp == kNoCodePageValue) {
      cp = 0xFFFD;
      used = 1;
    }
    end = writeUtf8(end, cp);
    i += used;
  }
  out.resize(static_cast<size_t>(end - out.data()));
  return out;
}

// A character without a code, or a malformed UTF-8 sequence, becomes one '?': its first byte and
// the continuation bytes after it are skipped together. Unicode's tag characters (U+E0000 to
// U+E007F, invisible language marks) vanish.
std::string fromUtf8(std::string_view utf8, CodePage page) {
  const CodePageTable& table = encodeTable(page);
  // A code or '?' has at most two bytes and stands for at least one input byte.
  std::string out(utf8.size() * 2, '\0');
  char* end = out.data();
  for (size_t i = 0; i < utf8.size();) {
    const Utf8Character c = readUtf8(utf8.substr(i));
    if (c.length && c.codePoint >> 7 == 0xE0000 >> 7) {  // tag characters are dropped, as iconv does
      i += c.length;
      continue;
    }
    const uint16_t code = c.length && c.codePoint < 0x10000 ? table.find(c.codePoint) : kNoCodePageValue;
    if (code == kNoCodePageValue) {
      *end++ = '?';
      do {
        ++i;
      } while (i < utf8.size() && isContinuation(static_cast<unsigned char>(utf8[i])));
      continue;
    }
    if (code >= 0x100) *end++ = static_cast<char>(code >> 8);
    *end++ = static_cast<char>(code & 0xFF);
    i += c.length;
  }
  out.resize(static_cast<size_t>(end - out.data()));
  return out;
}

std::string gamePathToFileSystem(std::string_view path) {
  // Backslashes become '/', skipping the trail bytes of double-byte characters.
  std::string unified(path);
  for (size_t i = 0; i < unified.size(); ++i) {
    const auto c = static_cast<unsigned char>(unified[i]);
    if (c >= 0x81 && c <= 0xFC) {
      ++i;
    } else if (c == '\\') {
      unified[i] = '/';
    }
  }
  return toUtf8(unified, CodePage::Gbk);
}

}  // namespace vellum
