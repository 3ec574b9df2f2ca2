// Whole-buffer zlib streams: what zlib writes inflates here exactly as zlib's uncompress would
// take it (trailing bytes ignored, a short stream fine, a long or damaged one refused).
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "storage/zlib_buffer.h"

namespace vellum {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes zlibDeflate(const std::string& text) {
  uLongf size = compressBound(text.size());
  Bytes out(size);
  compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
  out.resize(size);
  return out;
}

std::string sample() {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i * 7919 % 1000) + " \x83\x60 the harbour\n";
  return text;
}

struct InflateCase {
  const char* name;
  Bytes stream;
  size_t capacity;
  InflateStatus status;
  size_t produced;
};

TEST(ZlibBuffer, InflatesAsZlibUncompressTakesTheStream) {
  const std::string text = sample();
  const Bytes good = zlibDeflate(text);
  Bytes trailing = good;
  trailing.insert(trailing.end(), {1, 2, 3, 4});
  Bytes badCheck = good;
  badCheck.back() ^= 1;
  Bytes badData = good;
  badData[good.size() / 2] ^= 0x55;
  const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  const Bytes empty = zlibDeflate("");
  const std::vector<InflateCase> cases = {
      {"exact", good, text.size(), InflateStatus::Ok, text.size()},
      {"room to spare", good, text.size() + 100, InflateStatus::Ok, text.size()},
      {"bytes after the stream", trailing, text.size(), InflateStatus::Ok, text.size()},
      {"one byte short of room", good, text.size() - 1, InflateStatus::TooLong, 0},
      {"wrong check sum", badCheck, text.size(), InflateStatus::Damaged, 0},
      {"damaged data", badData, text.size(), InflateStatus::Damaged, 0},
      {"cut short", cut, text.size(), InflateStatus::Damaged, 0},
      {"no bytes", {}, text.size(), InflateStatus::Damaged, 0},
      {"empty stream, no room", empty, 0, InflateStatus::Ok, 0},
  };
  for (const InflateCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes out(c.capacity + 1, 0xEE);
    size_t produced = 99;
    EXPECT_EQ(inflateZlib(c.stream.data(), c.stream.size(), out.data(), c.capacity, produced), c.status);
    EXPECT_EQ(produced, c.produced);
    EXPECT_EQ(out[c.capacity], 0xEE);  // never past the room given
    if (c.status == InflateStatus::Ok) {
      EXPECT_EQ(std::string(out.begin(), out.begin() + static_cast<long>(produced)), text.substr(0, produced));
    }

    // zlib's own verdict on the same bytes.
    Bytes zout(c.capacity ? c.capacity : 1);
    uLongf zsize = c.capacity;
    const int z = uncompress(zout.data(), &zsize, c.stream.data(), c.stream.size());
    EXPECT_EQ(z == Z_OK, c.status == InflateStatus::Ok);
  }
}

}  // namespace
}  // namespace vellum
