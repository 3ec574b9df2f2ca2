#include "image/slide_compressor.h"

#include <algorithm>

namespace vellum {

namespace {

constexpr uint16_t kNone = 0xFFFF;
// How many earlier positions with the same two leading bytes are tried per match.
constexpr int kChainLimit = 48;

}  // namespace

// The decoder's ring plus, for every two-byte key, a chain of ring positions that started with
// it. Chains go stale as the ring is overwritten; every candidate is verified byte by byte.
struct SlideCompressor::Window {
  LzssRing ring;
  uint16_t head[65536];
  uint16_t link[kLzssRingSize];

  explicit Window(const LzssRing& start) : ring(start) {
    std::fill(std::begin(head), std::end(head), kNone);
    std::fill(std::begin(link), std::end(link), kNone);
    for (uint32_t q = 0; q < kLzssRingSize; ++q) insert(q, keyAt(q));
  }

  uint32_t keyAt(uint32_t q) const { return ring.bytes[q] | ring.bytes[(q + 1) & kLzssRingMask] << 8; }

  void insert(uint32_t q, uint32_t key) {
    const uint16_t previous = head[key];
    link[q] = previous == q ? kNone : previous;
    head[key] = static_cast<uint16_t>(q);
  }

  // Length of the match the decoder would copy from ring position `from` while writing at the
  // current position: bytes it wrote earlier in the same match are read back from the input.
  uint32_t matchLength(uint32_t from, const uint8_t* input, uint32_t limit) const {
    const uint32_t r = ring.position;
    uint32_t i = 0;
    for (; i < limit; ++i) {
      const uint32_t q = (from + i) & kLzssRingMask;
      const uint32_t written = (q - r) & kLzssRingMask;
      const uint8_t c = written < i ? input[written] : ring.bytes[q];
      if (c != input[i]) break;
    }
    return i;
  }

  void longestMatch(const uint8_t* input, uint32_t limit, uint32_t& bestFrom, uint32_t& bestLength) const {
    bestLength = 0;
    uint32_t candidate = head[input[0] | input[1] << 8];
    for (int tries = 0; candidate != kNone && tries < kChainLimit; ++tries) {
      const uint32_t length = matchLength(candidate, input, limit);
      if (length > bestLength) {
        bestLength = length;
        bestFrom = candidate;
        if (length == limit) break;
      }
      candidate = link[candidate];
    }
  }

  // Writes the bytes of one item into the ring as the decoder will, indexing each new position.
  void advance(const uint8_t* input, uint32_t count, size_t available) {
    for (uint32_t j = 0; j < count; ++j) {
      const uint32_t r = ring.position;
      ring.bytes[r] = input[j];
      if (j + 1 < available) insert(r, input[j] | input[j + 1] << 8);
      ring.position = (r + 1) & kLzssRingMask;
    }
  }
};

SlideCompressor::SlideCompressor() : SlideCompressor(LzssRing{}) {}

SlideCompressor::SlideCompressor(const LzssRing& start) : window_(std::make_unique<Window>(start)) {}

SlideCompressor::~SlideCompressor() = default;

void SlideCompressor::encode(const uint8_t* input, size_t size, std::vector<uint8_t>& out) {
  Window& w = *window_;
  size_t flagAt = 0;
  unsigned item = 0;
  size_t at = 0;
  while (at < size) {
    if (item == 0) {
      flagAt = out.size();
      out.push_back(0);
    }
    const size_t left = size - at;
    uint32_t from = 0;
    uint32_t length = 0;
    if (left >= kLzssMinMatch) {
      w.longestMatch(input + at, static_cast<uint32_t>(std::min<size_t>(left, kLzssMaxMatch)), from, length);
    }
    if (length >= kLzssMinMatch) {
      out[flagAt] |= static_cast<uint8_t>(1u << item);
      out.push_back(static_cast<uint8_t>(from));
      if (length >= 18) {
        out.push_back(static_cast<uint8_t>(from >> 8 | 0xF0));
        out.push_back(static_cast<uint8_t>(length - 18));
      } else {
        out.push_back(static_cast<uint8_t>(from >> 8 | (length - kLzssMinMatch) << 4));
      }
    } else {
      length = 1;
      out.push_back(input[at]);
    }
    w.advance(input + at, length, left);
    at += length;
    item = (item + 1) & 7;
  }
}

void SlideCompressor::checkpoint() {
  if (!saved_) saved_ = std::make_unique<Window>(*window_);
  else *saved_ = *window_;
}

void SlideCompressor::rollBack() {
  if (saved_) *window_ = *saved_;
}

}  // namespace vellum
