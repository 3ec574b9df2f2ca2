// Text -> number for trusted input. Nothing is validated: after leading blanks (and a sign where
// one is allowed) every character up to the terminator is a digit, and characters outside the
// digit alphabet count as 0 without stopping the scan ("12 " is 120). Arithmetic wraps.
#include "services/digits.h"
#include "vellum/exports.h"

namespace {

const char* skipBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return text;
}

template <typename Unsigned>
Unsigned accumulate(const char* text, Unsigned base) {
  Unsigned value = 0;
  for (; *text != '\0'; ++text) value = static_cast<Unsigned>(value * base + vellum::digitValue(*text));
  return value;
}

// Reads one optional '+' or '-'; returns whether the number is negative.
bool takeSign(const char*& text) {
  if (*text != '+' && *text != '-') return false;
  return *text++ == '-';
}

template <typename Unsigned>
Unsigned parseSignedDecimal(const char* text) {
  text = skipBlanks(text);
  const bool negative = takeSign(text);
  const Unsigned magnitude = accumulate<Unsigned>(text, 10);
  return negative ? static_cast<Unsigned>(0 - magnitude) : magnitude;
}

template <typename Unsigned>
Unsigned parseUnsigned(const char* text, Unsigned base) {
  return accumulate<Unsigned>(skipBlanks(text), base);
}

// All digits before and after the first point go into one 32-bit integer; the count of characters
// after the point scales it down. So only about ten significant digits survive.
template <typename Real>
Real parseReal(const char* text) {
  text = skipBlanks(text);
  const bool negative = takeSign(text);
  uint32_t digits = 0;
  bool afterPoint = false;
  uint32_t fractionLength = 0;
  for (; *text != '\0'; ++text) {
    if (*text == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    digits = digits * 10 + vellum::digitValue(*text);
    if (afterPoint) ++fractionLength;
  }
  Real scale = 1;
  for (uint32_t i = 0; i < fractionLength; ++i) scale *= 10;
  const Real magnitude = static_cast<Real>(digits) / scale;
  return negative ? -magnitude : magnitude;
}

}  // namespace

int32_t atoi10(const char* text) { return static_cast<int32_t>(parseSignedDecimal<uint32_t>(text)); }
uint32_t atoul10(const char* text) { return parseSignedDecimal<uint32_t>(text); }
uint32_t atoi16(const char* text) { return parseUnsigned<uint32_t>(text, 16); }
uint32_t atoi32(const char* text) { return parseUnsigned<uint32_t>(text, 32); }
int64_t atoll10(const char* text) { return static_cast<int64_t>(parseSignedDecimal<uint64_t>(text)); }
uint64_t atoull10(const char* text) { return parseSignedDecimal<uint64_t>(text); }
uint64_t atoull16(const char* text) { return parseUnsigned<uint64_t>(text, 16); }
uint64_t atoull32(const char* text) { return parseUnsigned<uint64_t>(text, 32); }
float atof10(const char* text) { return parseReal<float>(text); }
double atod10(const char* text) { return parseReal<double>(text); }
