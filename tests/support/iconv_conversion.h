// The text conversions as glibc iconv does them (CP936 and CP932), the reference the engine's own
// code page tables are checked against: undecodable bytes become U+FFFD one byte at a time, and a
// character without a code (or malformed UTF-8) becomes '?' with its continuation bytes skipped.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "base/text_encoding.h"

namespace test {

inline std::string iconvConvert(std::string_view input, const char* to, const char* from, std::string_view replacement) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "(no iconv for " + std::string(from) + " -> " + to + ")";
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char chunk[512];
  while (inLeft > 0) {
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, static_cast<size_t>(outPtr - chunk));
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      out.append(replacement);
      const bool fromUtf8 = std::string_view(from) == "UTF-8";
      do {
        ++in;
        --inLeft;
      } while (fromUtf8 && inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

inline const char* iconvName(vellum::CodePage page) { return page == vellum::CodePage::Gbk ? "CP936" : "CP932"; }

inline std::string iconvToUtf8(std::string_view bytes, vellum::CodePage page) {
  return iconvConvert(bytes, "UTF-8", iconvName(page), "\xEF\xBF\xBD");
}

inline std::string iconvFromUtf8(std::string_view utf8, vellum::CodePage page) {
  return iconvConvert(utf8, iconvName(page), "UTF-8", "?");
}

}  // namespace test
