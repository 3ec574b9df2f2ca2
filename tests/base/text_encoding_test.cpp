// The code page conversions give exactly what glibc iconv gives for CP936 and CP932: every single
// and double byte, every code point, and malformed input of both kinds.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "support/iconv_conversion.h"

namespace vellum {
namespace {

const CodePage kBothPages[] = {CodePage::Gbk, CodePage::ShiftJis};

std::string hexBytes(std::string_view s) {
  std::string out;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out;
}

std::string utf8Of(uint32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

TEST(CodePageTables, DecodeEverySingleAndDoubleByteAsIconvDoes) {
  for (CodePage page : kBothPages) {
    int differences = 0;
    for (unsigned code = 0; code < 0x10000 && differences < 5; ++code) {
      // Each byte alone, then each pair, with a byte after it to see where decoding goes on.
      std::string bytes = code < 0x100 ? std::string(1, static_cast<char>(code))
                                       : std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 'A'};
      const std::string expected = test::iconvToUtf8(bytes, page);
      const std::string got = toUtf8(bytes, page);
      if (got != expected) {
        ++differences;
        ADD_FAILURE() << test::iconvName(page) << " " << hexBytes(bytes) << ": " << hexBytes(got) << "!= " << hexBytes(expected);
      }
    }
  }
}

TEST(CodePageTables, EncodeEveryCodePointAsIconvDoes) {
  for (CodePage page : kBothPages) {
    // Valid characters stand alone, so a block of them converts as each one does; surrogates
    // written as three bytes are malformed and must give one '?' each as well. Every code point
    // of the basic plane and of the tags block (which iconv drops), the start of every other
    // block (no code page here has a character beyond the basic plane).
    for (uint32_t block = 0; block < 0x110000; block += 0x1000) {
      const bool whole = block < 0x10000 || block == 0xE0000;
      std::string text;
      for (uint32_t cp = block; cp < block + (whole ? 0x1000 : 0x40); ++cp) text += utf8Of(cp);
      const std::string expected = test::iconvFromUtf8(text, page);
      const std::string got = fromUtf8(text, page);
      if (got == expected) continue;
      size_t at = 0;
      while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
      FAIL() << test::iconvName(page) << " block U+" << std::hex << block << ": from byte " << std::dec << at << " "
             << hexBytes(got.substr(at, 8)) << "!= " << hexBytes(expected.substr(at, 8));
    }
  }
}

TEST(CodePageTables, MalformedTextGivesIconvsReplacements) {
  const std::string cases[] = {
      "\x81",                  // a lead byte at the end
      "\x81\x20" "A",          // a lead byte with a trail byte no character has
      "\xFF\xFE" "AB",         // bytes that start nothing
      "\x82\xA0\x82",          // a complete character, then a cut one
      "\xE4\xB8",              // UTF-8 cut short at the end
      "\xE4\xB8" "A",          // and in the middle
      "\x80\x80\x80" "A",      // stray continuation bytes: one '?'
      "\xC0\x80\xC1\x81",      // overlong forms
      "\xE0\x80\x80" "A",
      "\xED\xA0\x80",          // a surrogate
      "\xF4\x90\x80\x80",      // past U+10FFFF
      "\xF0\x9F\x98\x80\xBF",  // a character no code page has, with a stray byte after it
      "\xE4\xB8\xAD\x80" "A",  // one that both have, with a stray byte after it
      "\xEF\xBB\xBF" "A",      // a byte-order mark
  };
  for (CodePage page : kBothPages) {
    for (const std::string& text : cases) {
      EXPECT_EQ(toUtf8(text, page), test::iconvToUtf8(text, page)) << test::iconvName(page) << " " << hexBytes(text);
      EXPECT_EQ(fromUtf8(text, page), test::iconvFromUtf8(text, page)) << test::iconvName(page) << " " << hexBytes(text);
    }
  }
  // Random runs of the bytes that matter: leads, trails, continuation bytes, ASCII.
  std::mt19937 rng(936);
  const std::string alphabet("\x81\x82\x9F\xA1\xE0\xFC\xFE\xFF\x80\xBF\x40\x7F\xC2\xE4\xF0\xED\xB8\xAD" "A ", 20);
  for (int run = 0; run < 20000; ++run) {
    std::string text(rng() % 9, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    for (CodePage page : kBothPages) {
      ASSERT_EQ(toUtf8(text, page), test::iconvToUtf8(text, page)) << test::iconvName(page) << " " << hexBytes(text);
      ASSERT_EQ(fromUtf8(text, page), test::iconvFromUtf8(text, page)) << test::iconvName(page) << " " << hexBytes(text);
    }
  }
}

TEST(CodePageTables, KnownCharactersConvertBothWays) {
  const struct {
    CodePage page;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {CodePage::Gbk, "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},  // 中文
      {CodePage::Gbk, "\x80", "\xE2\x82\xAC"},                          // the euro sign
      {CodePage::ShiftJis, "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本
      {CodePage::ShiftJis, "\xB1", "\xEF\xBD\xB1"},                         // half-width ｱ
      {CodePage::ShiftJis, "a\\b", "a\\b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toUtf8(c.bytes, c.page), c.utf8) << hexBytes(c.bytes);
    EXPECT_EQ(fromUtf8(c.utf8, c.page), c.bytes) << hexBytes(c.utf8);
  }
}

}  // namespace
}  // namespace vellum
