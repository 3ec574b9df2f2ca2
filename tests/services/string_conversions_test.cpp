#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "vellum/exports.h"

namespace {

TEST(StringConversions, ParseTheStringsText) {
  EXPECT_EQ(vellum::stoi10(" -42"), -42);
  EXPECT_EQ(vellum::stoul10("4294967295"), 4294967295u);
  EXPECT_EQ(vellum::stoi16("ff"), 255u);
  EXPECT_EQ(vellum::stoi32("10"), 32u);
  EXPECT_EQ(vellum::stoll10("-9000000000"), -9000000000ll);
  EXPECT_EQ(vellum::stoull10("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(vellum::stoull16("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_EQ(vellum::stoull32("V"), 31u);
  EXPECT_FLOAT_EQ(vellum::stof10("3.25"), 3.25f);
  EXPECT_DOUBLE_EQ(vellum::stod10("-0.5"), -0.5);
}

TEST(StringConversions, FormatIntoStrings) {
  EXPECT_EQ(vellum::itos10(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(vellum::itos16(255), "FF");
  EXPECT_EQ(vellum::itos32(32), "10");
  EXPECT_EQ(vellum::ultos10(4294967295u), "4294967295");
  EXPECT_EQ(vellum::lltos10(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(vellum::ulltos10(UINT64_MAX), "18446744073709551615");
  EXPECT_EQ(vellum::ulltos16(UINT64_MAX), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(vellum::ulltos32(0), "0");
  EXPECT_EQ(vellum::ttos10(7), "7");
  EXPECT_EQ(vellum::ftos10(2.5f), "2.5");
  EXPECT_EQ(vellum::dtos10(1.9999999), "2");
  EXPECT_EQ(vellum::dtos10(1e300).size(), 301u);
}

// Every formatting variant keeps its text on the caller's stack, so two threads never see each
// other's digits.
TEST(StringConversions, FormattingIsSafeFromTwoThreads) {
  auto hammer = [](int32_t value, double real, bool* ok) {
    const std::string expectedInteger = std::to_string(value);
    const std::string expectedReal = real > 0 ? "1.5" : "-2.25";
    for (int i = 0; i < 20000; ++i) {
      if (vellum::itos10(value) != expectedInteger || vellum::dtos10(real) != expectedReal) {
        *ok = false;
        return;
      }
    }
    *ok = true;
  };
  bool firstOk = false;
  bool secondOk = false;
  std::thread first(hammer, 111111111, 1.5, &firstOk);
  std::thread second(hammer, -987654321, -2.25, &secondOk);
  first.join();
  second.join();
  EXPECT_TRUE(firstOk);
  EXPECT_TRUE(secondOk);
}

}  // namespace
