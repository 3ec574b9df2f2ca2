// LZSS encoder producing the tokens lzssDecode reads. The ring and the match index persist across
// encode calls, exactly as the decoder's ring does; a checkpoint lets a caller take back one call
// (TLG5 stores a channel raw when compressing does not make it smaller).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/lzss.h"

namespace vellum {

class SlideCompressor {
 public:
  // Starts from a zeroed ring at position 0.
  SlideCompressor();
  // Starts from the given ring (TLG6's filter table uses filterTableRing()).
  explicit SlideCompressor(const LzssRing& start);
  ~SlideCompressor();
  SlideCompressor(const SlideCompressor&) = delete;
  SlideCompressor& operator=(const SlideCompressor&) = delete;

  // Appends the tokens for the bytes to `out` (which it may grow; std::bad_alloc escapes).
  void encode(const uint8_t* input, size_t size, std::vector<uint8_t>& out);

  void checkpoint();  // remembers the present state
  void rollBack();    // returns to the last checkpoint

 private:
  struct Window;
  std::unique_ptr<Window> window_;
  std::unique_ptr<Window> saved_;
};

}  // namespace vellum
