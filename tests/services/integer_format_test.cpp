#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "vellum/exports.h"

namespace {

template <typename Value>
struct FormatCase {
  Value value;
  const char* expected;
};

template <typename Value>
void expectFormats(char* (*format)(Value, char*), std::initializer_list<FormatCase<Value>> cases) {
  for (const auto& c : cases) {
    char buffer[24];
    EXPECT_EQ(format(c.value, buffer), buffer);
    EXPECT_STREQ(buffer, c.expected) << "value " << +c.value;
  }
}

TEST(IntegerFormat, SignedDecimal32) {
  expectFormats<int32_t>(itoa10, {{0, "0"},
                                  {7, "7"},
                                  {-7, "-7"},
                                  {1000, "1000"},
                                  {std::numeric_limits<int32_t>::max(), "2147483647"},
                                  {std::numeric_limits<int32_t>::min(), "-2147483648"}});
}

TEST(IntegerFormat, Unsigned32InEveryBase) {
  expectFormats<uint32_t>(itoa16, {{0, "0"}, {255, "FF"}, {0xDEADBEEF, "DEADBEEF"}, {16, "10"}});
  expectFormats<uint32_t>(itoa32, {{0, "0"}, {32, "10"}, {31, "V"}, {0xFFFFFFFF, "3VVVVVV"}});
  expectFormats<uint32_t>(ultoa10, {{0, "0"}, {4294967295u, "4294967295"}, {100, "100"}});
  expectFormats<uint32_t>(ttoa10, {{0, "0"}, {4294967295u, "4294967295"}, {90210, "90210"}});
}

TEST(IntegerFormat, SignedDecimal64) {
  expectFormats<int64_t>(lltoa10, {{0, "0"},
                                   {-1, "-1"},
                                   {1234567890123ll, "1234567890123"},
                                   {std::numeric_limits<int64_t>::max(), "9223372036854775807"},
                                   {std::numeric_limits<int64_t>::min(), "-9223372036854775808"}});
}

TEST(IntegerFormat, Unsigned64InEveryBase) {
  const uint64_t all = std::numeric_limits<uint64_t>::max();
  expectFormats<uint64_t>(ulltoa10, {{0, "0"}, {all, "18446744073709551615"}});
  expectFormats<uint64_t>(ulltoa16, {{0, "0"}, {all, "FFFFFFFFFFFFFFFF"}, {0x62EC59E3F1A4F00Aull, "62EC59E3F1A4F00A"}});
  expectFormats<uint64_t>(ulltoa32, {{0, "0"}, {32, "10"}, {all, "FVVVVVVVVVVVV"}});
}

}  // namespace
