#include "image/tlg_reader.h"

#include <cstring>
#include <string>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/tlg5_reader.h"
#include "image/tlg6_reader.h"
#include "image/tlg_format.h"
#include "image/tlg_tags.h"

namespace vellum {

namespace {

bool fail(const char* codec, const std::string& problem) {
  reportBadPicture(codec, problem);
  return false;
}

bool decodeStream(const uint8_t* data, size_t size, DecodeTarget& target) {
  if (hasMagic(data, size, kTlg5Magic)) return decodeTlg5(data, size, target);
  if (hasMagic(data, size, kTlg6Magic)) return decodeTlg6(data, size, target);
  return fail("TLG", "not a TLG5 or TLG6 stream");
}

bool decodeContainer(const uint8_t* data, size_t size, DecodeTarget& target) {
  constexpr const char* kCodec = "TLG0";
  const uint32_t rawLength = loadLe32(data + kTlgMagicSize);
  if (rawLength > size - kTlg0HeaderSize) {
    return fail(kCodec, "the inner stream of " + std::to_string(rawLength) + " bytes runs past the end of the data");
  }
  if (!decodeStream(data + kTlg0HeaderSize, rawLength, target)) return false;

  ByteReader chunks(data, size);
  chunks.seek(kTlg0HeaderSize + rawLength);
  while (chunks.remaining() > 0) {
    const uint8_t* name = chunks.take(4);
    const uint32_t length = chunks.le32();
    if (!chunks.ok()) return fail(kCodec, "a chunk header is cut off");
    const uint8_t* content = chunks.take(length);
    if (!content) {
      return fail(kCodec, "the chunk '" + std::string(reinterpret_cast<const char*>(name), 4) + "' of " +
                              std::to_string(length) + " bytes runs past the end of the data");
    }
    if (std::memcmp(name, "tags", 4) == 0 && !readTlgTags(content, length, *target.image())) return false;
  }
  return true;
}

}  // namespace

bool decodeTlg(const uint8_t* data, size_t size, DecodeTarget& target) {
  if (size < kTlgMinimumSize) return fail("TLG", "the data is shorter than 48 bytes");
  if (hasMagic(data, size, kTlg0Magic)) return decodeContainer(data, size, target);
  return decodeStream(data, size, target);
}

}  // namespace vellum
