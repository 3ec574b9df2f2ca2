// Writes the engine's double-byte code page tables as a C++ source file, asking glibc iconv for
// each code: both code pages (GBK/CP936 and Shift-JIS/CP932), both directions, in rows of used
// ranges (base/text_encoding_tables.h). The text decoders' full-size tables are made from these
// on first use (services/codepage_tables.h).
// Usage: vellum-gen-codepages CONVERSIONS.cpp
//
// The tables are what the engine uses where there is no iconv with these code pages (musl's, on
// the web) and everywhere else too, so they are generated here, on the build machine.
//
// The output depends only on the iconv tables, so it is the same on every run.
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace {

// One iconv descriptor, reset before every character so no shift state leaks between codes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole input; returns the output bytes, or nothing when iconv rejects any of it.
  std::optional<std::string> convert(const char* bytes, size_t length) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    char* outPtr = out;
    size_t outLeft = sizeof out;
    if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return std::string(out, static_cast<size_t>(outPtr - out));
  }

 private:
  iconv_t cd_;
};

// The text conversions' form: a 16-bit key (a single byte, lead * 256 + trail, or a basic-plane
// code point) -> a 16-bit value, kNone where there is none. Row k holds keys k * 256 + first ..
// k * 256 + last.
constexpr uint16_t kNone = 0xFFFF;
using Map = std::array<uint16_t, 0x10000>;

// Byte text -> code points. Row 0 holds the single bytes; a lead byte's row its double bytes.
bool buildDecodeMap(const char* page, Map& map, std::string& problem) {
  map.fill(kNone);
  Converter decoder("UTF-32LE", page);
  if (!decoder.ok()) return false;
  auto codePoint = [&](const char* bytes, size_t length) -> std::optional<uint32_t> {
    const auto utf32 = decoder.convert(bytes, length);
    if (!utf32 || utf32->empty()) return std::nullopt;
    if (utf32->size() != 4) {
      problem = std::string(page) + ": a code gives more than one character";
      return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>((*utf32)[static_cast<size_t>(i)]);
    if (value >= kNone) problem = std::string(page) + ": a code gives a character beyond U+FFFE";
    return value;
  };
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    const char code[1] = {static_cast<char>(byte)};
    if (const auto cp = codePoint(code, 1)) map[byte] = static_cast<uint16_t>(*cp);
  }
  for (unsigned lead = 1; lead <= 0xFF; ++lead) {
    if (map[lead] != kNone) continue;  // a single byte never starts a pair
    for (unsigned trail = 0; trail <= 0xFF; ++trail) {
      const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (const auto cp = codePoint(code, 2)) map[lead * 256 + trail] = static_cast<uint16_t>(*cp);
    }
  }
  return problem.empty();
}

// Code points -> byte text: below 256 a single byte, else lead * 256 + trail. iconv's own choice
// where several codes decode to the same character.
bool buildEncodeMap(const char* page, Map& map, std::string& problem) {
  map.fill(kNone);
  Converter encoder(page, "UTF-32LE");
  if (!encoder.ok()) return false;
  for (uint32_t cp = 0; cp < kNone; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const char utf32[4] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8 & 0xFF), 0, 0};
    const auto code = encoder.convert(utf32, 4);
    if (!code || code->empty()) continue;
    if (code->size() > 2 || (code->size() == 2 && static_cast<uint8_t>((*code)[0]) == 0)) {
      problem = std::string(page) + ": a character gives more than two bytes";
      return false;
    }
    uint16_t value = static_cast<uint8_t>((*code)[0]);
    if (code->size() == 2) value = static_cast<uint16_t>(value << 8 | static_cast<uint8_t>((*code)[1]));
    if (value == kNone) {
      problem = std::string(page) + ": a character gives the code 0xFFFF";
      return false;
    }
    map[cp] = value;
  }
  return true;
}

// One map as `name`Rows (first, last, offset per row; first > last for an empty row) and
// `name`Values, the used range of every row one after another.
void appendMap(std::string& out, const std::string& name, const Map& map) {
  std::string rows = "const CodePageRow " + name + "Rows[256] = {\n";
  std::string values = "const uint16_t " + name + "Values[] = {\n";
  uint32_t offset = 0;
  size_t onLine = 0;
  char entry[48];
  for (unsigned row = 0; row < 256; ++row) {
    unsigned first = 256, last = 0;
    for (unsigned column = 0; column < 256; ++column) {
      if (map[row * 256 + column] == kNone) continue;
      first = std::min(first, column);
      last = column;
    }
    if (first > last) {
      rows += "{1,0,0},";
    } else {
      std::snprintf(entry, sizeof entry, "{%u,%u,%u},", first, last, offset);
      rows += entry;
      for (unsigned column = first; column <= last; ++column) {
        std::snprintf(entry, sizeof entry, "0x%X,", map[row * 256 + column]);
        values += entry;
        if (++onLine % 16 == 0) values += '\n';
      }
      offset += last - first + 1;
    }
    if (row % 8 == 7) rows += '\n';
  }
  if (offset == 0) values += "0,";
  if (values.back() != '\n') values += '\n';
  out += rows + "};\n" + values + "};\n";
  out += "const CodePageTable " + name + "{" + name + "Rows, " + name + "Values};\n\n";
}

// The text conversions' tables as a source file, or nothing with `problem` set.
std::optional<std::string> conversionTables(std::string& problem) {
  static Map map;
  std::string out =
      "// Generated by vellum-gen-codepages from the iconv code pages CP936 and CP932. Do not edit.\n"
      "#include \"base/text_encoding_tables.h\"\n\n"
      "namespace vellum {\n\n";
  const struct {
    const char* page;
    const char* name;
  } pages[] = {{"CP936", "kGbk"}, {"CP932", "kShiftJis"}};
  for (const auto& p : pages) {
    if (!buildDecodeMap(p.page, map, problem)) return std::nullopt;
    appendMap(out, std::string(p.name) + "Decode", map);
    if (!buildEncodeMap(p.page, map, problem)) return std::nullopt;
    appendMap(out, std::string(p.name) + "Encode", map);
  }
  out += "}  // namespace vellum\n";
  return out;
}

bool writeFile(const char* path, const std::string& text) {
  FILE* file = std::fopen(path, "wb");
  if (!file) {
    std::perror(path);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) {
    std::perror(path);
    std::remove(path);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CONVERSIONS.cpp\n", argv[0]);
    return 2;
  }
  std::string problem;
  const auto conversions = conversionTables(problem);
  if (!conversions) {
    std::fprintf(stderr, "%s: %s\n", argv[0], problem.empty() ? "iconv lacks CP936 or CP932" : problem.c_str());
    return 1;
  }
  return writeFile(argv[1], *conversions) ? 0 : 1;
}
