#include <gtest/gtest.h>

#include <cstdint>

#include "vellum/exports.h"

namespace {

TEST(HashExports, KnownCheckValues) {
  EXPECT_EQ(crc32_hash("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc64_hash("123456789"), 0x62EC59E3F1A4F00Aull);
  EXPECT_EQ(crc32_hash(""), 0u);
  EXPECT_EQ(crc64_hash(""), 0u);
}

TEST(HashExports, RangesMatchTexts) {
  const char bytes[] = "abc\0def";
  EXPECT_EQ(crc32_hash2(bytes, 3), crc32_hash("abc"));
  EXPECT_EQ(crc64_hash2(bytes, 3), crc64_hash("abc"));
  // A range may hold zero bytes; a text stops at the first.
  EXPECT_NE(crc64_hash2(bytes, 7), crc64_hash("abc"));
  EXPECT_EQ(crc32_hash2(nullptr, 0), 0u);
  EXPECT_EQ(crc64_hash(nullptr), 0u);
}

}  // namespace
