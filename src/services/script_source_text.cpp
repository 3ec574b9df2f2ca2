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

}  // namespace vellum
