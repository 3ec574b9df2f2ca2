#include <gtest/gtest.h>

#include <cstdint>

#include "vellum/exports.h"

namespace {

template <typename Value>
struct ParseCase {
  const char* text;
  Value expected;
};

template <typename Value>
void expectParses(Value (*parse)(const char*), std::initializer_list<ParseCase<Value>> cases) {
  for (const auto& c : cases) EXPECT_EQ(parse(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberParse, SignedDecimal32) {
  expectParses<int32_t>(atoi10, {{"", 0},
                                 {"0", 0},
                                 {"42", 42},
                                 {" -42", -42},
                                 {"\t+7", 7},
                                 {"12 ", 120},  // the trailing blank is a 0 digit
                                 {"1a", 20},    // 'a' has digit value 10
                                 {"--1", -1},   // the second '-' counts as 0
                                 {"\n5", 5},    // only blanks and tabs are skipped; '\n' is a 0
                                 {"2147483647", 2147483647},
                                 {"-2147483648", INT32_MIN},
                                 {"4294967296", 0}});  // wraps in 32 bits
  expectParses<uint32_t>(atoul10, {{"4294967295", 4294967295u}, {"-1", 4294967295u}, {" 9", 9}});
}

TEST(NumberParse, UnsignedHexAndBase32) {
  expectParses<uint32_t>(atoi16, {{"ff", 255}, {"FF", 255}, {"  10", 16}, {"DEADBEEF", 0xDEADBEEF}, {"-1", 1}});
  expectParses<uint32_t>(atoi32, {{"10", 32}, {"v", 31}, {"V", 31}, {"3VVVVVV", 0xFFFFFFFF}});
}

TEST(NumberParse, SixtyFourBit) {
  expectParses<int64_t>(atoll10, {{"-9223372036854775808", INT64_MIN}, {" 1234567890123", 1234567890123ll}});
  expectParses<uint64_t>(atoull10, {{"18446744073709551615", UINT64_MAX}, {"+3", 3}});
  expectParses<uint64_t>(atoull16, {{"62ec59e3f1a4f00a", 0x62EC59E3F1A4F00Aull}, {"\t0", 0}});
  expectParses<uint64_t>(atoull32, {{"FVVVVVVVVVVVV", UINT64_MAX}, {"10", 32}});
}

TEST(NumberParse, Reals) {
  expectParses<float>(atof10, {{"3.25", 3.25f},
                               {"-0.5", -0.5f},
                               {" +2", 2.0f},
                               {".5", 0.5f},
                               {"1.2.5", 1.205f},  // a second point is a 0 digit
                               {"", 0.0f}});
  expectParses<double>(atod10, {{"3.25", 3.25}, {"-0.5", -0.5}, {"\t100.125", 100.125}, {"1.", 1.0}});
  EXPECT_DOUBLE_EQ(atod10("0.001"), 0.001);
  // All digits share one 32-bit integer, so long numbers wrap.
  EXPECT_DOUBLE_EQ(atod10("4294967296"), 0.0);
}

}  // namespace
