// Writes the engine's double-byte character tables as C++ source files, asking glibc iconv for
// each code. The first file holds the text decoders' tables: GBK (CP936) double-byte code ->
// UTF-16, and UTF-16 -> Shift-JIS (CP932) code. The second holds the text conversions' tables
// (base/text_encoding_tables.h): both code pages, both directions, in rows of used ranges.
// Usage: vellum-gen-codepages DECODERS.cpp CONVERSIONS.cpp
//
// The conversions' tables are what the engine uses where there is no iconv with these code pages
// (musl's, on the web) and everywhere else too, so they are generated here, on the build machine.
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

using Table = std::array<uint16_t, 0x10000>;

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

// Double-byte code (lead * 256 + trail) -> UTF-16 unit; codes without a single-unit mapping stay 0.
bool buildDoubleByteToUtf16(Table& table) {
  Converter gbk("UTF-16LE", "CP936");
  if (!gbk.ok()) return false;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0; trail <= 0xFF; ++trail) {
      const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const auto utf16 = gbk.convert(code, 2);
      if (!utf16 || utf16->size() != 2) continue;
      table[lead * 256 + trail] =
          static_cast<uint16_t>(static_cast<uint8_t>((*utf16)[0]) | static_cast<uint8_t>((*utf16)[1]) << 8);
    }
  }
  return true;
}

// UTF-16 unit -> Shift-JIS code: single bytes as themselves, two bytes as lead * 256 + trail.
bool buildUtf16ToDoubleByte(Table& table) {
  Converter sjis("CP932", "UTF-16LE");
  if (!sjis.ok()) return false;
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // surrogate halves are no characters
    const char utf16[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const auto code = sjis.convert(utf16, 2);
    if (!code || code->empty() || code->size() > 2) continue;
    uint16_t value = static_cast<uint8_t>((*code)[0]);
    if (code->size() == 2) value = static_cast<uint16_t>(value << 8 | static_cast<uint8_t>((*code)[1]));
    table[unit] = value;
  }
  return true;
}

// Zeros as "0", everything else as hex, 16 entries per line; trailing zeros are left to the
// compiler's zero fill.
void appendTable(std::string& out, const char* name, const Table& table) {
  size_t used = table.size();
  while (used > 0 && table[used - 1] == 0) --used;
  out += "const uint16_t ";
  out += name;
  out += "[0x10000] = {\n";
  char entry[16];
  for (size_t i = 0; i < used; ++i) {
    if (table[i] == 0) {
      out += "0,";
    } else {
      std::snprintf(entry, sizeof entry, "0x%X,", table[i]);
      out += entry;
    }
    if (i % 16 == 15 || i + 1 == used) out += '\n';
  }
  out += "};\n";
}

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
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DECODERS.cpp CONVERSIONS.cpp\n", argv[0]);
    return 2;
  }
  static Table doubleByteToUtf16{};
  static Table utf16ToDoubleByte{};
  if (!buildDoubleByteToUtf16(doubleByteToUtf16) || !buildUtf16ToDoubleByte(utf16ToDoubleByte)) {
    std::fprintf(stderr, "%s: iconv lacks CP936 or CP932\n", argv[0]);
    return 1;
  }

  std::string out =
      "// Generated by vellum-gen-codepages from the iconv code pages CP936 and CP932. Do not edit.\n"
      "#include \"services/codepage_tables.h\"\n\n"
      "namespace vellum {\n\n";
  appendTable(out, "kDoubleByteToUtf16", doubleByteToUtf16);
  out += '\n';
  appendTable(out, "kUtf16ToDoubleByte", utf16ToDoubleByte);
  out += "\n}  // namespace vellum\n";

  std::string problem;
  const auto conversions = conversionTables(problem);
  if (!conversions) {
    std::fprintf(stderr, "%s: %s\n", argv[0], problem.empty() ? "iconv lacks CP936 or CP932" : problem.c_str());
    return 1;
  }
  return writeFile(argv[1], out) && writeFile(argv[2], *conversions) ? 0 : 1;
}
