#include "platform/audio_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "platform/bessel_i0.h"

namespace vellum {

namespace {

constexpr int kMaxPhases = 1024;
constexpr double kKaiserBeta = 7.0;     // about 70 dB of stop-band attenuation
constexpr double kPassBand = 0.92;      // of the lower rate's Nyquist frequency
constexpr double kZeroCrossings = 8.0;  // of the filter's sinc on each side

double kaiser(double x) {  // x in -1..1
  const double t = 1.0 - x * x;
  if (t <= 0) return 0;
  return besselI0(kKaiserBeta * std::sqrt(t)) / besselI0(kKaiserBeta);
}

double sinc(double x) { return x == 0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x); }

typedef float Lanes __attribute__((vector_size(16)));

}  // namespace

bool AudioResampler::supports(int inRate, int outRate) {
  if (inRate <= 0 || outRate <= 0) return false;
  return outRate / std::gcd(inRate, outRate) <= kMaxPhases;
}

AudioResampler::AudioResampler(int inRate, int outRate, int channels) : channels_(channels) {
  const int g = std::gcd(inRate, outRate);
  up_ = outRate / g;
  down_ = inRate / g;
  // The cut-off, in cycles per input sample (x2): below both rates' Nyquist frequencies.
  const double cut = kPassBand * std::min(1.0, static_cast<double>(outRate) / inRate);
  const int half = static_cast<int>(std::ceil(kZeroCrossings / cut));
  taps_ = (2 * half + 3) / 4 * 4;
  const double centre = taps_ / 2 - 1;
  coefficients_.resize(static_cast<size_t>(up_) * static_cast<size_t>(taps_));
  for (int p = 0; p < up_; ++p) {
    float* row = &coefficients_[static_cast<size_t>(p) * static_cast<size_t>(taps_)];
    double sum = 0;
    for (int j = 0; j < taps_; ++j) {
      // Input j of the window lies this far (in input samples) before the output point.
      const double t = centre + static_cast<double>(p) / up_ - j;
      const double h = cut * sinc(cut * t) * kaiser(t / (taps_ / 2.0));
      row[j] = static_cast<float>(h);
      sum += h;
    }
    // Each phase passes a constant level unchanged.
    for (int j = 0; j < taps_; ++j) row[j] = static_cast<float>(row[j] / sum);
  }
  for (auto& h : history_) h.assign(static_cast<size_t>(2 * taps_), 0.0f);
  reset();
}

void AudioResampler::reset() {
  for (auto& h : history_) std::fill(h.begin(), h.end(), 0.0f);
  write_ = 0;
  phase_ = 0;
}

void AudioResampler::push(const int16_t* frame) {
  for (int c = 0; c < channels_; ++c) {
    const float v = frame ? static_cast<float>(frame[c]) : 0.0f;
    history_[c][static_cast<size_t>(write_)] = v;
    history_[c][static_cast<size_t>(write_ + taps_)] = v;
  }
  write_ = write_ + 1 == taps_ ? 0 : write_ + 1;
  phase_ -= up_;
}

float AudioResampler::dot(const float* window) const {
  const float* row = &coefficients_[static_cast<size_t>(phase_) * static_cast<size_t>(taps_)];
  Lanes sum = {0, 0, 0, 0};
  for (int j = 0; j < taps_; j += 4) {
    Lanes a, b;
    std::memcpy(&a, row + j, sizeof a);
    std::memcpy(&b, window + j, sizeof b);
    sum += a * b;
  }
  return (sum[0] + sum[1]) + (sum[2] + sum[3]);
}

void AudioResampler::produce(float& left, float& right) {
  // The window: the last taps_ samples, oldest first, starting at the next slot to write.
  left = dot(&history_[0][static_cast<size_t>(write_)]);
  right = channels_ == 2 ? dot(&history_[1][static_cast<size_t>(write_)]) : left;
  phase_ += down_;
}

}  // namespace vellum
