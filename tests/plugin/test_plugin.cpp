// A plug-in built the way a game's are: it sees only vellum/exports.h, and every call below is
// resolved by the dynamic linker against the running executable.
#include <vellum/exports.h>

#include <cstdio>

// Writes what four exports returned into report, as one line:
//   crc64=<hex> itoa10=<text> utf8=<hex bytes> sin=<value>
// Returns 1 when everything was called and fits, 0 otherwise.
extern "C" __attribute__((visibility("default"))) int vellum_plugin_selftest(char* report, size_t size) {
  char number[24];
  itoa10(-1234567, number);

  // GBK 【 converted in place, so the plug-in owns every byte it touches.
  char text[16] = "\xA1\xBE";
  uint32_t length = 2;
  if (sjis_to_utf8_s(text, &length, sizeof text) != text) return 0;
  char utf8Hex[16] = {};
  for (uint32_t i = 0; i < length && i < 7; ++i) {
    std::snprintf(utf8Hex + 2 * i, 3, "%02X", static_cast<unsigned char>(text[i]));
  }

  const int written = std::snprintf(report, size, "crc64=%016llX itoa10=%s utf8=%s sin=%.4f",
                                    static_cast<unsigned long long>(crc64_hash("123456789")), number, utf8Hex,
                                    static_cast<double>(sin_simd(1.5707964f)));
  return written > 0 && static_cast<size_t>(written) < size ? 1 : 0;
}
