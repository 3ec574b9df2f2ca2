#include "image/tlg_tags.h"

#include <cstring>

#include "image/byte_reader.h"
#include "image/codec_report.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "TLG0";

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

// Parses "<digits><stop>" at `at`; false unless at least one digit and the stop byte follow.
bool readLength(const uint8_t* p, size_t size, size_t& at, char stop, size_t& length) {
  size_t value = 0;
  const size_t start = at;
  while (at < size && p[at] >= '0' && p[at] <= '9') {
    value = value * 10 + static_cast<size_t>(p[at] - '0');
    if (value > size) return false;  // no entry can be longer than the chunk
    ++at;
  }
  if (at == start || at == size || p[at] != stop) return false;
  ++at;
  length = value;
  return true;
}

}  // namespace

bool readTlgTags(const uint8_t* p, size_t size, Image& image) {
  size_t at = 0;
  int entry = 0;
  while (at < size) {
    const std::string where = "tag " + std::to_string(entry++);
    size_t keyLength = 0;
    size_t valueLength = 0;
    if (!readLength(p, size, at, ':', keyLength) || keyLength > size - at) return fail(where + ": bad key length");
    const uint8_t* key = p + at;
    at += keyLength;
    if (at == size || p[at] != '=') return fail(where + ": no '=' after the key");
    ++at;
    if (!readLength(p, size, at, ':', valueLength) || valueLength > size - at) {
      return fail(where + ": bad value length");
    }
    const uint8_t* value = p + at;
    at += valueLength;
    // Entries end with a comma; the last one may end with the chunk.
    if (at < size) {
      if (p[at] != ',') return fail(where + ": no ',' after the value");
      ++at;
    }
    if (keyLength != 1) continue;
    switch (key[0]) {
      case kTagName:
        if (valueLength >= sizeof image.name) {
          return fail(where + ": the name is " + std::to_string(valueLength) + " bytes, longer than 255");
        }
        std::memcpy(image.name, value, valueLength);
        image.name[valueLength] = '\0';
        break;
      case kTagLeft:
      case kTagTop:
      case kTagMode: {
        if (valueLength != 4) return fail(where + ": a position or mode of " + std::to_string(valueLength) + " bytes");
        const auto number = static_cast<int32_t>(loadLe32(value));
        (key[0] == kTagLeft ? image.left : key[0] == kTagTop ? image.top : image.mode) = number;
        break;
      }
      default:
        break;
    }
  }
  return true;
}

std::vector<uint8_t> makeTlgTags(const Image& image) {
  const size_t nameLength = strnlen(image.name, sizeof image.name - 1);
  std::string text = "1:\x02=4:0000,1:\x03=4:0000,1:\x04=4:0000,1:\x01=";
  text += std::to_string(nameLength);
  text += ':';
  text.append(image.name, nameLength);
  std::vector<uint8_t> content(text.begin(), text.end());
  // The three "0000" placeholders become the raw numbers.
  const int32_t numbers[3] = {image.left, image.top, image.mode};
  for (int i = 0; i < 3; ++i) storeLe32(content.data() + 6 + i * 11, static_cast<uint32_t>(numbers[i]));
  return content;
}

}  // namespace vellum
