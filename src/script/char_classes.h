// Byte classes shared by the whole script layer. Script text is bytes in a double-byte code page;
// wherever text is scanned byte by byte, a lead byte takes the next byte with it unexamined, so a
// trail byte is never taken for a delimiter, quote or line end.
#pragma once

#include <array>
#include <cstdint>

namespace vellum::chars {

using Table = std::array<bool, 256>;

template <typename Pred>
constexpr Table makeTable(Pred pred) {
  Table t{};
  for (int c = 0; c < 256; ++c) t[c] = pred(c);
  return t;
}

constexpr bool inRange(int c, int lo, int hi) { return c >= lo && c <= hi; }
constexpr bool isAsciiLetter(int c) { return inRange(c, 'A', 'Z') || inRange(c, 'a', 'z'); }
constexpr bool isNameByte(int c) {
  return c == '.' || inRange(c, '0', '9') || c == '@' || isAsciiLetter(c) || c == '_';
}

inline constexpr Table kDigit = makeTable([](int c) { return inRange(c, '0', '9'); });
inline constexpr Table kDecimal = makeTable([](int c) { return c == '.' || inRange(c, '0', '9'); });
inline constexpr Table kSigned = makeTable([](int c) { return c == '-' || inRange(c, '0', '9'); });
inline constexpr Table kHex =
    makeTable([](int c) { return inRange(c, '0', '9') || inRange(c, 'A', 'F') || inRange(c, 'a', 'f'); });
inline constexpr Table kCommandStart = makeTable([](int c) { return isAsciiLetter(c); });
inline constexpr Table kName = makeTable([](int c) { return isNameByte(c); });
inline constexpr Table kNameOrMinus = makeTable([](int c) { return isNameByte(c) || c == '-'; });
inline constexpr Table kUpper = makeTable([](int c) { return inRange(c, 'A', 'Z'); });
inline constexpr Table kLower = makeTable([](int c) { return inRange(c, 'a', 'z'); });
inline constexpr Table kLeadByte = makeTable([](int c) { return inRange(c, 0x81, 0xFC); });
inline constexpr Table kTrailByte = makeTable([](int c) { return inRange(c, 0x40, 0x7E) || inRange(c, 0x80, 0xFC); });
inline constexpr Table kLabelName = makeTable([](int c) { return isNameByte(c) || inRange(c, 0xA1, 0xDF); });
inline constexpr Table kNonBlank = makeTable([](int c) { return c != 0x09 && c != 0x0A && c != 0x0D && c != 0x20; });
inline constexpr Table kBlank = makeTable([](int c) { return c == 0x09 || c == 0x20; });
inline constexpr Table kSkipLine = makeTable([](int c) { return c == 0x00 || c == '*'; });

inline bool is(const Table& table, char c) { return table[static_cast<unsigned char>(c)]; }

}  // namespace vellum::chars
