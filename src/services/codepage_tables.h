// The engine's character tables. The two 64 Ki-entry code page tables are made when first used,
// from the text conversions' compact ones (base/text_encoding_tables.h); the small ones are
// computed by the compiler.
//
// Note that the two directions follow different code pages: byte text is decoded as GBK but
// encoded as Shift-JIS, so a round trip only returns ASCII unchanged.
#pragma once

#include <array>
#include <cstdint>

namespace vellum {

// One lookup per character in the text decoders and encoders, where the compact tables would take
// a row and a range check.
struct DoubleByteTables {
  // Double-byte code (lead * 256 + trail) -> UTF-16, code page 936 (GBK); 0 where unmapped.
  uint16_t doubleByteToUtf16[0x10000];
  // UTF-16 -> code page 932 (Shift-JIS) code: below 256 a single byte, else lead * 256 + trail;
  // 0 where unmapped.
  uint16_t utf16ToDoubleByte[0x10000];
};

namespace codepage_detail {

// Writes the full-size tables from the compact ones.
void fillDoubleByteTables(DoubleByteTables& tables);

constexpr std::array<bool, 256> makeLeadBytes() {
  std::array<bool, 256> table{};
  for (int b = 0x81; b <= 0xFC; ++b) table[b] = true;
  return table;
}

// Only 0x00-0x7E decode as single bytes; 0x7F and every high byte give 0.
constexpr std::array<uint16_t, 256> makeSingleByteToUtf16() {
  std::array<uint16_t, 256> table{};
  for (int b = 0; b <= 0x7E; ++b) table[b] = static_cast<uint16_t>(b);
  return table;
}

constexpr std::array<uint8_t, 1024> makeUtf8LengthByCodePoint() {
  std::array<uint8_t, 1024> table{};
  for (int i = 0; i < 1024; ++i) table[i] = i * 64 < 0x80 ? 1 : i * 64 < 0x800 ? 2 : 3;
  return table;
}

// Stray continuation bytes and four-byte leads count as three-byte sequences.
constexpr std::array<uint8_t, 256> makeUtf8LengthByFirstByte() {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = b < 0x80 ? 1 : (b >= 0xC0 && b <= 0xDF) ? 2 : 3;
  return table;
}

}  // namespace codepage_detail

// Filled on first use (thread-safe), so they are ready for any caller, static initialisers too.
// Inline, so the per-character callers pay only the guard's check.
inline const DoubleByteTables& doubleByteTables() {
  // Static storage (zeros), filled in place: 256 KB would not belong on a thread's stack.
  static DoubleByteTables tables;
  static const bool filled = (codepage_detail::fillDoubleByteTables(tables), true);
  (void)filled;
  return tables;
}

// Bytes 0x81-0xFC start a two-byte character.
inline constexpr std::array<bool, 256> kLeadByte = codepage_detail::makeLeadBytes();
inline constexpr std::array<uint16_t, 256> kSingleByteToUtf16 = codepage_detail::makeSingleByteToUtf16();
// UTF-8 bytes needed for a basic-plane unit, indexed by unit / 64.
inline constexpr std::array<uint8_t, 1024> kUtf8LengthByCodePoint = codepage_detail::makeUtf8LengthByCodePoint();
// Length of the UTF-8 sequence a byte starts.
inline constexpr std::array<uint8_t, 256> kUtf8LengthByFirstByte = codepage_detail::makeUtf8LengthByFirstByte();

}  // namespace vellum
