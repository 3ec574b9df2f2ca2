// The mixer's resampler: a level passes unchanged, a tone keeps its pitch and level, and each input
// second gives one output second, for the rates games use (and a few more).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/audio_resampler.h"
#include "platform/bessel_i0.h"
#include "support/param_names.h"

namespace vellum {
namespace {

constexpr int kOut = 44100;


// One second of `signal(i)` at `rate` (mono), resampled to the mixer's rate.
template <typename Signal>
std::vector<float> resample(int rate, Signal signal) {
  AudioResampler r(rate, kOut, 1);
  std::vector<float> out;
  int next = 0;
  while (static_cast<int>(out.size()) < kOut) {
    while (r.needsInput()) {
      const int16_t v = next < rate ? signal(next) : 0;
      r.push(&v);
      ++next;
    }
    float l, rr;
    r.produce(l, rr);
    out.push_back(l);
  }
  return out;
}

class Rates : public ::testing::TestWithParam<int> {};

TEST_P(Rates, ALevelPassesUnchanged) {
  const std::vector<float> out = resample(GetParam(), [](int) { return int16_t{10000}; });
  for (size_t i = 200; i < out.size() - 200; ++i) ASSERT_NEAR(out[i], 10000.0f, 2.0f) << i;
}

TEST_P(Rates, AToneKeepsItsPitchAndLevel) {
  const int rate = GetParam();
  const std::vector<float> out =
      resample(rate, [rate](int i) { return static_cast<int16_t>(10000 * std::sin(2 * M_PI * 441.0 * i / rate)); });
  int crossings = 0, sign = 0;
  float peak = 0;
  for (float v : out) {
    const int now = v >= 100 ? 1 : v <= -100 ? -1 : 0;
    if (now && sign && now != sign) ++crossings;
    if (now) sign = now;
    peak = std::max(peak, v);
  }
  EXPECT_NEAR(crossings, 882, 2);
  EXPECT_NEAR(peak, 10000.0f, 100.0f);
}

INSTANTIATE_TEST_SUITE_P(Table, Rates, ::testing::Values(8000, 11025, 16000, 22050, 32000, 48000, 96000),
                         test::namedBy([](int rate) { return std::to_string(rate) + " Hz"; }));

TEST(ResamplerRatios, FewPhasesOnly) {
  EXPECT_TRUE(AudioResampler::supports(22050, kOut));
  EXPECT_TRUE(AudioResampler::supports(48000, kOut));  // 147 phases
  EXPECT_FALSE(AudioResampler::supports(44099, kOut));
  EXPECT_FALSE(AudioResampler::supports(0, kOut));
}

// The Kaiser window's I0 against values to twenty digits, across the window's whole range.
TEST(BesselI0, MatchesKnownValuesToDoublePrecision) {
  const struct {
    double x, i0;
  } known[] = {{0, 1.0},
               {0.5, 1.0634833707413235193},
               {1, 1.2660658777520083356},
               {2, 2.2795853023360672674},
               {-2, 2.2795853023360672674},
               {3.5, 7.3782034322254796603},
               {5, 27.239871823604446895},
               {7, 168.59390851028969886},
               {20, 43558282.559553533272}};
  for (const auto& k : known) EXPECT_NEAR(besselI0(k.x), k.i0, k.i0 * 4e-16) << k.x;
}

}  // namespace
}  // namespace vellum
