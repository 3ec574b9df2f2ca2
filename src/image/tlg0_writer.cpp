#include "image/byte_reader.h"
#include "image/tlg_format.h"
#include "image/tlg_tags.h"
#include "image/tlg_writer.h"

namespace vellum {

std::vector<uint8_t> wrapInTlg0(const std::vector<uint8_t>& stream, const Image& image) {
  const std::vector<uint8_t> tags = makeTlgTags(image);
  std::vector<uint8_t> out;
  out.reserve(kTlg0HeaderSize + stream.size() + 8 + tags.size());
  out.insert(out.end(), std::begin(kTlg0Magic), std::end(kTlg0Magic));
  out.resize(out.size() + 4);
  storeLe32(out.data() + kTlgMagicSize, static_cast<uint32_t>(stream.size()));
  out.insert(out.end(), stream.begin(), stream.end());
  const uint8_t name[4] = {'t', 'a', 'g', 's'};
  out.insert(out.end(), std::begin(name), std::end(name));
  out.resize(out.size() + 4);
  storeLe32(out.data() + out.size() - 4, static_cast<uint32_t>(tags.size()));
  out.insert(out.end(), tags.begin(), tags.end());
  return out;
}

}  // namespace vellum
