// The digits shared by the number formatters and parsers: bases 10, 16 and 32 use the first
// 10, 16 or 32 characters of one upper-case alphabet.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellum {

inline constexpr char kDigitAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";

// Longest text ftoa10/dtoa10 write, terminator included: every integer digit of the largest double
// (309 of them) and a sign.
inline constexpr size_t kRealTextCapacity = 320;

namespace digit_detail {

// '0'-'9' -> 0-9, 'A'-'V' and 'a'-'v' -> 10-31, anything else -> 0 (parsers never reject input).
constexpr std::array<uint8_t, 256> makeDigitValues() {
  std::array<uint8_t, 256> table{};
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<uint8_t>(c - '0');
  for (int c = 'A'; c <= 'V'; ++c) table[c] = static_cast<uint8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'v'; ++c) table[c] = static_cast<uint8_t>(c - 'a' + 10);
  return table;
}

}  // namespace digit_detail

inline constexpr std::array<uint8_t, 256> kDigitValue = digit_detail::makeDigitValues();

inline uint8_t digitValue(char c) { return kDigitValue[static_cast<unsigned char>(c)]; }

// Writes value in the given base (no leading zeros, "0" for zero) and a terminator; returns the
// address of the terminator.
template <typename Unsigned>
char* writeUnsigned(Unsigned value, Unsigned base, char* out) {
  char reversed[sizeof(Unsigned) * 8];
  int count = 0;
  do {
    reversed[count++] = kDigitAlphabet[value % base];
    value /= base;
  } while (value != 0);
  while (count > 0) *out++ = reversed[--count];
  *out = '\0';
  return out;
}

}  // namespace vellum
