// Builds `.cur` and `.ani` files in memory for the cursor tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum::test {

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A 32-bit bitmap picture (colour rows bottom-up, then the AND mask) of pixels 0xAARRGGBB given
// top-down, with `masked` marking the transparent ones in the AND mask.
inline std::vector<uint8_t> dibPicture(int w, int h, const std::vector<uint32_t>& pixels,
                                       const std::vector<bool>& masked, int bits = 32) {
  std::vector<uint8_t> out;
  put32(out, 40);
  put32(out, static_cast<uint32_t>(w));
  put32(out, static_cast<uint32_t>(h * 2));
  put16(out, 1);
  put16(out, static_cast<uint32_t>(bits));
  for (int i = 0; i < 6; ++i) put32(out, 0);
  const size_t row = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> line(row, 0);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * w + x];
      if (bits == 32) {
        for (int b = 0; b < 4; ++b) line[static_cast<size_t>(x) * 4 + b] = static_cast<uint8_t>(p >> (8 * b));
      } else {
        for (int b = 0; b < 3; ++b) line[static_cast<size_t>(x) * 3 + b] = static_cast<uint8_t>(p >> (8 * b));
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  const size_t maskRow = ((static_cast<size_t>(w) + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> line(maskRow, 0);
    for (int x = 0; x < w; ++x)
      if (masked[static_cast<size_t>(y) * w + x]) line[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

// A cursor file of one picture with its hot spot.
inline std::vector<uint8_t> curFile(int w, int h, int hotX, int hotY, const std::vector<uint8_t>& picture) {
  std::vector<uint8_t> out;
  put16(out, 0);
  put16(out, 2);
  put16(out, 1);
  out.push_back(static_cast<uint8_t>(w));
  out.push_back(static_cast<uint8_t>(h));
  out.push_back(0);
  out.push_back(0);
  put16(out, static_cast<uint32_t>(hotX));
  put16(out, static_cast<uint32_t>(hotY));
  put32(out, static_cast<uint32_t>(picture.size()));
  put32(out, 22);
  out.insert(out.end(), picture.begin(), picture.end());
  return out;
}

inline void chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
  out.insert(out.end(), id, id + 4);
  put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1) out.push_back(0);
}

// An animated cursor of the frames, with per-step rates (1/60 s) and a sequence when given.
inline std::vector<uint8_t> aniFile(const std::vector<std::vector<uint8_t>>& frames, uint32_t defaultRate,
                                    const std::vector<uint32_t>& rates, const std::vector<uint32_t>& sequence) {
  std::vector<uint8_t> header;
  put32(header, 36);
  put32(header, static_cast<uint32_t>(frames.size()));
  put32(header, static_cast<uint32_t>(sequence.empty() ? frames.size() : sequence.size()));
  for (int i = 0; i < 4; ++i) put32(header, 0);
  put32(header, defaultRate);
  put32(header, sequence.empty() ? 1 : 3);
  std::vector<uint8_t> body;
  body.insert(body.end(), {'A', 'C', 'O', 'N'});
  chunk(body, "anih", header);
  if (!rates.empty()) {
    std::vector<uint8_t> r;
    for (uint32_t v : rates) put32(r, v);
    chunk(body, "rate", r);
  }
  if (!sequence.empty()) {
    std::vector<uint8_t> s;
    for (uint32_t v : sequence) put32(s, v);
    chunk(body, "seq ", s);
  }
  std::vector<uint8_t> list = {'f', 'r', 'a', 'm'};
  for (const auto& f : frames) chunk(list, "icon", f);
  chunk(body, "LIST", list);
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace vellum::test
