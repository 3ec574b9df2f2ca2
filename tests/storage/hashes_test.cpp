#include <gtest/gtest.h>

#include <string>

#include "storage/hashes.h"

namespace vellum {
namespace {

struct HashCase {
  std::string name;
  std::string text;
  uint32_t crc32;
  uint64_t crc64;
};

class HashCheckValues : public ::testing::TestWithParam<HashCase> {};

TEST_P(HashCheckValues, MatchTheStandardParameters) {
  const HashCase& c = GetParam();
  EXPECT_EQ(crc32Of(c.text), c.crc32);
  EXPECT_EQ(crc64Of(c.text), c.crc64);
}

INSTANTIATE_TEST_SUITE_P(Storage, HashCheckValues,
                         ::testing::Values(
                             // The check values of CRC-32/ISO-HDLC and CRC-64/WE.
                             HashCase{"CheckString", "123456789", 0xCBF43926u, 0x62EC59E3F1A4F00Aull},
                             // All-ones start and final complement cancel on no input.
                             HashCase{"Empty", "", 0u, 0ull}),
                         [](const auto& info) { return info.param.name; });

TEST(Crc64, RunningStateMatchesOneShot) {
  const std::string text = "script/0.txt and more bytes after it";
  uint64_t state = ~0ull;
  for (size_t i = 0; i < text.size(); i += 5) {
    const size_t n = std::min<size_t>(5, text.size() - i);
    state = crc64Update(state, reinterpret_cast<const uint8_t*>(text.data()) + i, n);
  }
  EXPECT_EQ(~state, crc64Of(text));
}

TEST(Crc64, KeysDependOnCaseAndSeparators) {
  EXPECT_NE(crc64Of("script/0.txt"), crc64Of("Script/0.txt"));
  EXPECT_NE(crc64Of("script/0.txt"), crc64Of("script\\0.txt"));
}

}  // namespace
}  // namespace vellum
