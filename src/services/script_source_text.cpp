#include "services/script_source_text.h"

#include <string>
#include <string_view>

#include "base/text_encoding.h"

namespace vellum {

std::vector<uint8_t> normaliseLineEnds(const std::vector<uint8_t>& text) {
  std::vector<uint8_t> out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
      continue;
    }
    out.push_back('\n');
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

bool utf8ToGbk(const std::vector<uint8_t>& utf8, std::vector<uint8_t>& gbk) {
  std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::string converted = fromUtf8(text, CodePage::Gbk);
  gbk.assign(converted.begin(), converted.end());
  return toUtf8(converted, CodePage::Gbk) == text;
}

namespace {

// The length of the UTF-8 character a lead byte starts, in its shortest form; 0 for a byte that
// starts none (a trail byte, C0, C1, F5 and above).
size_t utf8Length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool looksLikeUtf8(const std::vector<uint8_t>& bytes) {
  const size_t n = bytes.size();
  if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return true;
  bool beyondAscii = false;
  for (size_t i = 0; i < n;) {
    const size_t length = utf8Length(bytes[i]);
    if (length == 0 || i + length > n) return false;
    for (size_t k = 1; k < length; ++k)
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
    beyondAscii = beyondAscii || length > 1;
    i += length;
  }
  return beyondAscii;
}

std::string scriptTextFromSource(const std::vector<uint8_t>& bytes, bool& lossless) {
  lossless = true;
  const bool utf8 = looksLikeUtf8(bytes);
  std::vector<uint8_t> gbk;
  if (utf8) lossless = utf8ToGbk(bytes, gbk);
  const std::vector<uint8_t> text = normaliseLineEnds(utf8 ? gbk : bytes);
  return std::string(text.begin(), text.end());
}

}  // namespace vellum
