// parseFloating reads what std::from_chars reads for a double, to the bit, and reports the same.
#include "base/floating_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace vellum {
namespace {

void expectAsFromChars(const std::string& text) {
  double expected = -7, got = -7;
  const auto want = std::from_chars(text.data(), text.data() + text.size(), expected);
  const auto have = parseFloating(text.data(), text.data() + text.size(), got);
  EXPECT_EQ(have.ptr - text.data(), want.ptr - text.data()) << "'" << text << "'";
  EXPECT_EQ(have.ec, want.ec) << "'" << text << "'";
  EXPECT_TRUE(std::memcmp(&got, &expected, sizeof got) == 0 || (std::isnan(got) && std::isnan(expected)))
      << "'" << text << "': " << got << " != " << expected;
}

TEST(FloatingText, ReadsWhatFromCharsReads) {
  const char* cases[] = {
      "0.5", "-12.25e3", "00012.50e-1", ".5", "5.", "1e", "1e+", "1e+5x", "1.0000000000000000000000000000001",
      "123456789012345678901234567890", "1.7976931348623157e308", "4.9e-324", "2e-324", "1e-310",  // subnormals
      "1e400", "-1e400", "1e-400", "0e999999",  // out of range, and an exact zero
      "inf", "-INFINITY", "infin", "nan", "nan(abc_1)", "nan(", "-nan(x)y",
      "", "-", ".", "+1", " 1", "0x1p3", "e5",  // what is no number for from_chars
  };
  for (const char* text : cases) expectAsFromChars(text);
}

TEST(FloatingText, RandomTextAndEveryShortestFormAgree) {
  std::mt19937 rng(17);
  const std::string alphabet = "0123456789.eE+-infatyINFNAx( )_9";
  for (int i = 0; i < 30000; ++i) {
    std::string text(rng() % 12, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    expectAsFromChars(text);
  }
  for (int i = 0; i < 30000; ++i) {
    const uint64_t bits = static_cast<uint64_t>(rng()) << 32 | rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, d).ptr;
    expectAsFromChars(std::string(buffer, end));
    std::snprintf(buffer, sizeof buffer, "%.6g", d);
    expectAsFromChars(buffer);
  }
}

}  // namespace
}  // namespace vellum
