#include "base/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace vellum {

namespace {

const char* iconvName(CodePage page) { return page == CodePage::Gbk ? "CP936" : "CP932"; }

// Runs iconv over the whole input, replacing what cannot be converted. iconv descriptors carry
// state, so each call opens its own; this is the boundary to a person, not a hot path.
std::string convert(std::string_view input, const char* to, const char* from, std::string_view replacement) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  out.reserve(input.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char chunk[512];
  while (inLeft > 0) {
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, static_cast<size_t>(outPtr - chunk));
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated character at the end): skip the character and go on. A
      // UTF-8 character is skipped whole (its continuation bytes too), so it leaves one
      // replacement, not one per byte.
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

}  // namespace

std::string toUtf8(std::string_view bytes, CodePage page) {
  return convert(bytes, "UTF-8", iconvName(page), "\xEF\xBF\xBD");
}

std::string fromUtf8(std::string_view utf8, CodePage page) { return convert(utf8, iconvName(page), "UTF-8", "?"); }

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
