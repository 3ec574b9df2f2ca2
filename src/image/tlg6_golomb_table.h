// The adaptive Golomb parameter of TLG6: k = bitLength[a][n] for the running magnitude a and the
// countdown n (3 ... 0). Both the decoder and the writer read the same table.
#pragma once

#include <array>
#include <cstdint>

namespace vellum {

constexpr int kGolombMaxMagnitude = 1023;
constexpr int kGolombCountdown = 3;

namespace detail {

constexpr std::array<uint8_t, 1024 * 4> buildGolombTable() {
  constexpr int counts[4][9] = {
      {3, 7, 15, 27, 63, 108, 223, 448, 130},
      {3, 5, 13, 24, 51, 95, 192, 384, 257},
      {2, 5, 12, 21, 39, 86, 155, 320, 384},
      {2, 3, 9, 18, 33, 61, 129, 258, 511},
  };
  std::array<uint8_t, 1024 * 4> table{};
  for (int n = 0; n < 4; ++n) {
    int a = 0;
    for (int k = 0; k < 9; ++k) {
      for (int i = 0; i < counts[n][k]; ++i) table[static_cast<size_t>(a++) * 4 + n] = static_cast<uint8_t>(k);
    }
  }
  return table;
}

}  // namespace detail

// Indexed [a * 4 + n].
inline constexpr std::array<uint8_t, 1024 * 4> kGolombBitLength = detail::buildGolombTable();

inline int golombBitLength(int a, int n) { return kGolombBitLength[static_cast<size_t>(a) * 4 + n]; }

}  // namespace vellum
