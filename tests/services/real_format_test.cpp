#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "services/digits.h"
#include "vellum/exports.h"

namespace {

struct FloatCase {
  float value;
  const char* expected;
};

struct DoubleCase {
  double value;
  const char* expected;
};

std::string formatFloat(float value) {
  char buffer[48];
  EXPECT_EQ(ftoa10(value, buffer), buffer);
  return buffer;
}

std::string formatDouble(double value) {
  char buffer[vellum::kRealTextCapacity];
  EXPECT_EQ(dtoa10(value, buffer), buffer);
  return buffer;
}

TEST(RealFormat, FloatFractionDigits) {
  const FloatCase cases[] = {
      {0.0f, "0"},
      {-0.0f, "0"},
      {2.5f, "2.5"},
      {3.0f, "3"},
      {-0.125f, "-0.125"},
      {0.1f, "0.1"},
      {-7.75f, "-7.75"},
      {123.456f, "123.456001"},  // the float's own digits
      {1e-7f, "0"},
      {-1e-7f, "-0"},  // the sign is written before the fraction rounds away
      {0.999999f, "0.999999"},
      {0.9999996f, "1"},
      {1e6f, "1000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatFloat(c.value), c.expected) << c.value;
}

TEST(RealFormat, DoubleRoundsIntoTheIntegerPart) {
  const DoubleCase cases[] = {
      {1.9999999, "2"},
      {1.0000001, "1"},
      {-1.9999999, "-2"},
      {0.5, "0.5"},
      {3.141592653, "3.141593"},
      {1.000001, "1.000001"},
      {-2147483648.5, "-2147483648.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatDouble(c.value), c.expected) << c.value;
}

TEST(RealFormat, IntegerPartsBeyond32Bits) {
  const DoubleCase cases[] = {
      {4294967295.0, "4294967295"},
      {4294967296.25, "4294967296.25"},
      {-9007199254740992.0, "-9007199254740992"},
      {18446744073709551616.0, "18446744073709551616"},
      {1e20, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatDouble(c.value), c.expected) << c.value;
  EXPECT_EQ(formatFloat(4294967295.0f), "4294967296");  // the nearest float
  EXPECT_EQ(formatFloat(3e9f), "3000000000");
}

TEST(RealFormat, LargestValuesFitTheirBuffers) {
  const std::string largestFloat = formatFloat(std::numeric_limits<float>::max());
  EXPECT_EQ(largestFloat, "340282346638528859811704183484516925440");
  EXPECT_EQ(formatFloat(-std::numeric_limits<float>::max()), "-" + largestFloat);
  const std::string largestDouble = formatDouble(-std::numeric_limits<double>::max());
  EXPECT_EQ(largestDouble.size(), 310u);
  EXPECT_EQ(largestDouble.substr(0, 8), "-1797693");
}

TEST(RealFormat, NotANumberAndInfinityHaveFixedTexts) {
  EXPECT_EQ(formatFloat(std::numeric_limits<float>::quiet_NaN()), "nan");
  EXPECT_EQ(formatFloat(std::numeric_limits<float>::infinity()), "inf");
  EXPECT_EQ(formatFloat(-std::numeric_limits<float>::infinity()), "-inf");
  EXPECT_EQ(formatDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(formatDouble(-std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(formatDouble(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(formatDouble(-std::numeric_limits<double>::infinity()), "-inf");
}

}  // namespace
