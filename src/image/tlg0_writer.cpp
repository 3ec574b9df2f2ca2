#include <cstring>

#include "image/byte_reader.h"
#include "image/tlg_format.h"
#include "image/tlg_tags.h"
#include "image/tlg_writer.h"

namespace vellum {

std::vector<uint8_t> wrapInTlg0(const std::vector<uint8_t>& stream, const Image& image) {
  const std::vector<uint8_t> tags = makeTlgTags(image);
  constexpr size_t kChunkHeader = 8;  // name, size
  std::vector<uint8_t> out(kTlg0HeaderSize + stream.size() + kChunkHeader + tags.size());
  uint8_t* p = out.data();
  std::memcpy(p, kTlg0Magic, kTlgMagicSize);
  storeLe32(p + kTlgMagicSize, static_cast<uint32_t>(stream.size()));
  p += kTlg0HeaderSize;
  if (!stream.empty()) std::memcpy(p, stream.data(), stream.size());
  p += stream.size();
  std::memcpy(p, "tags", 4);
  storeLe32(p + 4, static_cast<uint32_t>(tags.size()));
  if (!tags.empty()) std::memcpy(p + kChunkHeader, tags.data(), tags.size());
  return out;
}

}  // namespace vellum
