// Magic bytes and fixed sizes of the TLG streams and their TLG0 container.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vellum {

constexpr size_t kTlgMagicSize = 11;
inline constexpr uint8_t kTlg5Magic[kTlgMagicSize] = {'T', 'L', 'G', '5', '.', '0', 0x00, 'r', 'a', 'w', 0x1A};
inline constexpr uint8_t kTlg6Magic[kTlgMagicSize] = {'T', 'L', 'G', '6', '.', '0', 0x00, 'r', 'a', 'w', 0x1A};
inline constexpr uint8_t kTlg0Magic[kTlgMagicSize] = {'T', 'L', 'G', '0', '.', '0', 0x00, 's', 'd', 's', 0x1A};

// The container's magic and raw length come before the inner stream.
constexpr size_t kTlg0HeaderSize = kTlgMagicSize + 4;
// Shorter data is refused before any magic is looked at.
constexpr size_t kTlgMinimumSize = 48;

constexpr size_t kTlg5HeaderSize = 24;  // magic, colours, width, height, block height
constexpr size_t kTlg6HeaderSize = 31;  // magic, colours, three flags, width, height, max bits, table size
constexpr uint32_t kTlg5WriterBlockHeight = 4;
constexpr int kTlg6BlockSide = 8;

inline bool hasMagic(const uint8_t* data, size_t size, const uint8_t (&magic)[kTlgMagicSize]) {
  return size >= kTlgMagicSize && std::memcmp(data, magic, kTlgMagicSize) == 0;
}

}  // namespace vellum
