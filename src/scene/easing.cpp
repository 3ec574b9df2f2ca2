#include "scene/easing.h"

#include <cmath>
#include <cstdint>

namespace vellum {

namespace {

constexpr float kPi = 3.14159265358979f;

using Curve = float (*)(float t, float b, float c);

// sqrt of a value that rounding may push just below zero.
float safeSqrt(float v) { return std::sqrt(v > 0 ? v : 0.0f); }

float sineIn(float t, float b, float c) { return b + c * (1 - std::cos(t * kPi / 2)); }
float sineOut(float t, float b, float c) { return b + c * std::sin(t * kPi / 2); }
float sineInOut(float t, float b, float c) { return b + c * (-(std::cos(kPi * t) - 1) / 2); }

template <int N>
float power(float v) {
  float r = 1;
  for (int i = 0; i < N; ++i) r *= v;
  return r;
}
template <int N>
float polyIn(float t, float b, float c) { return b + c * power<N>(t); }
template <int N>
float polyOut(float t, float b, float c) { return b + c * (1 - power<N>(1 - t)); }
template <int N>
float polyInOut(float t, float b, float c) {
  if (t < 0.5f) return b + c * static_cast<float>(1 << (N - 1)) * power<N>(t);
  return b + c * (1 - power<N>(-2 * t + 2) / 2);
}

float expoIn(float t, float b, float c) { return t == 0 ? b : b + c * std::exp2(10 * (t - 1)); }
float expoOut(float t, float b, float c) { return t == 1 ? b + c : b + c * (1 - std::exp2(-10 * t)); }
float expoInOut(float t, float b, float c) {
  if (t == 0) return b;
  if (t == 1) return b + c;
  const float u = 2 * t;
  if (u < 1) return b + c / 2 * std::exp2(10 * (u - 1));
  return b + c / 2 * (2 - std::exp2(-10 * (u - 1)));
}

float circIn(float t, float b, float c) { return b + c * (1 - safeSqrt(1 - t * t)); }
float circOut(float t, float b, float c) { return b + c * safeSqrt(1 - (t - 1) * (t - 1)); }
float circInOut(float t, float b, float c) {
  float u = 2 * t;
  if (u < 1) return b - c / 2 * (safeSqrt(1 - u * u) - 1);
  u -= 2;
  return b + c / 2 * (safeSqrt(1 - u * u) + 1);
}

float elasticPhase(float p, float c) { return c < 0 ? p / 4 : p / 9.869605f; }
float elasticIn(float t, float b, float c) {
  if (t == 0) return b;
  if (t == 1) return b + c;
  const float p = 0.3f, s = elasticPhase(p, c);
  return b - c * std::exp2(10 * (t - 1)) * std::sin((t - s) * 2 * kPi / p);
}
float elasticOut(float t, float b, float c) {
  if (t == 0) return b;
  if (t == 1) return b + c;
  const float p = 0.3f, s = elasticPhase(p, c);
  return b + c + c * std::exp2(-10 * t) * std::sin((t - s) * 2 * kPi / p);
}
float elasticInOut(float t, float b, float c) {
  if (t == 0) return b;
  if (t == 1) return b + c;
  const float p = 0.45f, s = elasticPhase(p, c);
  const float u = 2 * t;
  if (u < 1) return b - c / 2 * std::exp2(10 * (u - 1)) * std::sin((u - s) * 2 * kPi / p);
  return b + c + c / 2 * std::exp2(-10 * (u - 1)) * std::sin((u - s) * 2 * kPi / p);
}

float backIn(float t, float b, float c) { return b + c * t * t * (2.70158f * t - 1.70158f); }
float backOut(float t, float b, float c) {
  const float u = t - 1;
  return b + c * (u * u * (2.70158f * u + 1.70158f) + 1);
}
float backInOut(float t, float b, float c) {
  float u = 2 * t;
  if (u < 1) return b + c / 2 * (u * u * (3.5949094f * u - 2.5949094f));
  u -= 2;
  return b + c / 2 * (u * u * (3.5949094f * u + 2.5949094f) + 2);
}

float bounceOut(float t, float b, float c) {
  float f;
  if (t < 0.36363637f) {
    f = 7.5625f * t * t;
  } else if (t < 0.72727275f) {
    const float u = t - 0.54545456f;
    f = 7.5625f * u * u + 0.75f;
  } else if (t < 0.90909094f) {
    const float u = t - 0.8181818f;
    f = 7.5625f * u * u + 0.9375f;
  } else {
    const float u = t - 0.95454544f;
    f = 7.5625f * u * u + 0.984375f;
  }
  return b + c * f;
}
float bounceIn(float t, float b, float c) { return b + c - bounceOut(1 - t, 0, c); }
float bounceInOut(float t, float b, float c) {
  if (t < 0.5f) return b + c / 2 - bounceOut(1 - 2 * t, 0, c / 2);
  return bounceOut(2 * t - 1, b + c / 2, c / 2);
}

struct Family {
  Curve in, out, inOut;
};

// In the order of the indexes 1 ... 10.
constexpr Family kFamilies[10] = {
    {&sineIn, &sineOut, &sineInOut},
    {&polyIn<2>, &polyOut<2>, &polyInOut<2>},
    {&polyIn<3>, &polyOut<3>, &polyInOut<3>},
    {&polyIn<4>, &polyOut<4>, &polyInOut<4>},
    {&polyIn<5>, &polyOut<5>, &polyInOut<5>},
    {&expoIn, &expoOut, &expoInOut},
    {&circIn, &circOut, &circInOut},
    {&elasticIn, &elasticOut, &elasticInOut},
    {&backIn, &backOut, &backInOut},
    {&bounceIn, &bounceOut, &bounceInOut},
};

// OUT over the first half with half the change, IN over the second from the middle.
float outIn(const Family& f, float t, float b, float c) {
  if (t < 0.5f) return f.out(2 * t, b, c / 2);
  return f.in(2 * t - 1, b + c / 2, c / 2);
}

}  // namespace

float ease(int32_t e, float t, float b, float c) {
  if (e == 0 || e < kEasingMin || e > kEasingMax) return b + c * t;
  const int32_t k = e > 0 ? e : -e;
  const Family& f = kFamilies[(k - 1) % 10];
  if (e > 0) return k <= 10 ? f.out(t, b, c) : f.inOut(t, b, c);
  return k <= 10 ? f.in(t, b, c) : outIn(f, t, b, c);
}

int32_t progress(int32_t m, int64_t t, int64_t d, int32_t e) {
  if (d <= 0) return m;
  if (e == 0 || e < kEasingMin || e > kEasingMax) return static_cast<int32_t>(static_cast<int64_t>(m) * t / d);
  const float v = ease(e, static_cast<float>(t) / static_cast<float>(d), 0, static_cast<float>(m));
  // An overshooting curve may leave the integer range; such a value is held at its edge.
  if (std::isnan(v)) return 0;
  if (v <= -2147483520.0f) return INT32_MIN;
  if (v >= 2147483520.0f) return INT32_MAX;
  return static_cast<int32_t>(std::trunc(v));
}

float progressF(int32_t m, int64_t t, int64_t d, int32_t e) {
  if (d <= 0) return static_cast<float>(m);
  if (e == 0 || e < kEasingMin || e > kEasingMax)
    return static_cast<float>(static_cast<int64_t>(m) * t) / static_cast<float>(d);
  return ease(e, static_cast<float>(t) / static_cast<float>(d), 0, static_cast<float>(m));
}

}  // namespace vellum
