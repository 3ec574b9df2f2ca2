// Any bytes as GBK and Shift-JIS text to UTF-8 and as UTF-8 to both: the engine's code page tables
// give exactly what glibc iconv gives (the conversion they replace), never read past the input,
// and always write well-formed UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../support/iconv_conversion.h"
#include "base/text_encoding.h"

namespace {

bool wellFormedUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : 0;
    if (length == 0 || i + length > s.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  // A copy of exactly the input's size, so reading past it is caught.
  const std::string input(reinterpret_cast<const char*>(data), size);
  for (CodePage page : {CodePage::Gbk, CodePage::ShiftJis}) {
    const std::string utf8 = toUtf8(input, page);
    if (utf8 != test::iconvToUtf8(input, page) || !wellFormedUtf8(utf8)) std::abort();
    if (fromUtf8(input, page) != test::iconvFromUtf8(input, page)) std::abort();
  }
  return 0;
}
