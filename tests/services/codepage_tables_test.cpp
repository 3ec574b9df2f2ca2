#include "services/codepage_tables.h"

#include <gtest/gtest.h>

#include <cstdint>

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
  for (const auto& c : cases) EXPECT_EQ(vellum::kDoubleByteToUtf16[c.from], c.to) << std::hex << c.from;
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
  for (const auto& c : cases) EXPECT_EQ(vellum::kUtf16ToDoubleByte[c.from], c.to) << std::hex << c.from;
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
