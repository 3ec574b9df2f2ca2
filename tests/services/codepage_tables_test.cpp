#include "services/codepage_tables.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

struct CodeCase {
  uint16_t from;
  uint16_t to;
};

TEST(CodepageTables, GbkDoubleByteCodesDecode) {
  const CodeCase cases[] = {
      {0xA1BE, 0x3010},  // 【
      {0xA1BF, 0x3011},  // 】
      {0xB0A1, 0x554A},  // 啊
      {0xC4E3, 0x4F60},  // 你
      {0xA1A1, 0x3000},  // ideographic space
      {0xA1E3, 0x00B0},  // degree sign
      {0x8140, 0x4E02},  // first code of the GBK extension
      {0x8100, 0},       // 0x00 is no trail byte
      {0x0041, 0},       // not a double-byte code at all
  };
  for (const auto& c : cases) EXPECT_EQ(vellum::doubleByteTables().doubleByteToUtf16[c.from], c.to) << std::hex << c.from;
}

TEST(CodepageTables, UnicodeEncodesAsShiftJis) {
  const CodeCase cases[] = {
      {0x3042, 0x82A0},                                 // あ
      {0x65E5, 0x93FA},                                 // 日
      {0x3000, 0x8140},                                 // ideographic space
      {0xFF71, 0x00B1},                                 // half-width katakana is a single byte
      {0x0041, 0x0041}, {0x0000, 0x0000}, {0x0E01, 0},  // Thai has no Shift-JIS code
      {0xFEFF, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(vellum::doubleByteTables().utf16ToDoubleByte[c.from], c.to) << std::hex << c.from;
}

// iconv's output for one whole code, or nothing when it rejects any of it.
std::optional<std::string> iconvOneCode(iconv_t cd, const char* bytes, size_t length) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char out[16];
  char* in = const_cast<char*>(bytes);
  size_t inLeft = length;
  char* outPtr = out;
  size_t outLeft = sizeof out;
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(out, static_cast<size_t>(outPtr - out));
}

uint16_t twoBytes(const std::string& bytes, bool littleEndian) {
  const auto byte = [&](size_t i) { return static_cast<uint16_t>(static_cast<uint8_t>(bytes[i])); };
  return littleEndian ? static_cast<uint16_t>(byte(0) | byte(1) << 8) : static_cast<uint16_t>(byte(0) << 8 | byte(1));
}

// The full-size tables are made from the compact ones: every entry must still be what iconv gives
// for that one code (a single UTF-16 unit for a GBK pair, one or two Shift-JIS bytes for a unit).
TEST(CodepageTables, EveryEntryIsWhatIconvGivesForItsCode) {
  iconv_t gbk = iconv_open("UTF-16LE", "CP936");
  iconv_t shiftJis = iconv_open("CP932", "UTF-16LE");
  ASSERT_NE(gbk, reinterpret_cast<iconv_t>(-1));
  ASSERT_NE(shiftJis, reinterpret_cast<iconv_t>(-1));
  const auto& tables = vellum::doubleByteTables();
  int differences = 0;
  for (unsigned code = 0; code < 0x10000 && differences < 5; ++code) {
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    uint16_t unit = 0;
    if (code >= 0x8100 && code < 0xFF00) {
      const auto utf16 = iconvOneCode(gbk, bytes, 2);
      if (utf16 && utf16->size() == 2) unit = twoBytes(*utf16, true);
    }
    const char utf16[2] = {bytes[1], bytes[0]};
    uint16_t encoded = 0;
    if (code < 0xD800 || code > 0xDFFF) {
      const auto sjis = iconvOneCode(shiftJis, utf16, 2);
      if (sjis && sjis->size() == 1) encoded = static_cast<uint8_t>((*sjis)[0]);
      if (sjis && sjis->size() == 2) encoded = twoBytes(*sjis, false);
    }
    if (tables.doubleByteToUtf16[code] != unit || tables.utf16ToDoubleByte[code] != encoded) {
      ++differences;
      ADD_FAILURE() << std::hex << code << ": " << tables.doubleByteToUtf16[code] << " / " << unit << ", "
                    << tables.utf16ToDoubleByte[code] << " / " << encoded;
    }
  }
  iconv_close(gbk);
  iconv_close(shiftJis);
}

TEST(CodepageTables, LeadAndSingleBytes) {
  EXPECT_FALSE(vellum::kLeadByte[0x80]);
  EXPECT_TRUE(vellum::kLeadByte[0x81]);
  EXPECT_TRUE(vellum::kLeadByte[0xFC]);
  EXPECT_FALSE(vellum::kLeadByte[0xFD]);
  EXPECT_EQ(vellum::kSingleByteToUtf16[0x00], 0x00);
  EXPECT_EQ(vellum::kSingleByteToUtf16['A'], 'A');
  EXPECT_EQ(vellum::kSingleByteToUtf16[0x7E], 0x7E);
  EXPECT_EQ(vellum::kSingleByteToUtf16[0x7F], 0);
  EXPECT_EQ(vellum::kSingleByteToUtf16[0xA0], 0);
}

TEST(CodepageTables, Utf8Lengths) {
  const CodeCase byCodePoint[] = {{0x0000, 1}, {0x007F, 1}, {0x0080, 2}, {0x07FF, 2}, {0x0800, 3}, {0xFFFF, 3}};
  for (const auto& c : byCodePoint) EXPECT_EQ(vellum::kUtf8LengthByCodePoint[c.from >> 6], c.to) << std::hex << c.from;
  const CodeCase byFirstByte[] = {{0x00, 1}, {0x7F, 1}, {0x80, 3}, {0xBF, 3}, {0xC0, 2},
                                  {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 3}, {0xFF, 3}};
  for (const auto& c : byFirstByte) EXPECT_EQ(vellum::kUtf8LengthByFirstByte[c.from], c.to) << std::hex << c.from;
}

}  // namespace
