// The exported encoding conversions. Each makes two passes over its input, one to size the result
// and one to write it, into a single block from allocAligned that ends in zero bytes.
#include <cstring>

#include "services/codepage_tables.h"
#include "services/text_decoders.h"
#include "storage/aligned_memory.h"
#include "vellum/exports.h"

namespace {

using vellum::kUtf8LengthByCodePoint;

constexpr uint16_t kByteOrderMark = 0xFEFF;

// Runs decode once with reserve (bytes a unit may need) and once with write (stores a unit,
// returns the next free byte). On return *length is the number of bytes written.
template <typename Result, typename Decode, typename Reserve, typename Write>
Result* convert(Decode decode, Reserve reserve, Write write, size_t terminatorBytes, uint32_t* length) {
  size_t reserved = 0;
  decode([&](uint16_t unit) { reserved += reserve(unit); });
  auto* block = static_cast<uint8_t*>(vellum::allocAligned(reserved + terminatorBytes));
  if (!block) {
    *length = 0;
    return nullptr;
  }
  uint8_t* out = block;
  decode([&](uint16_t unit) { out = write(unit, out); });
  std::memset(out, 0, terminatorBytes);
  *length = static_cast<uint32_t>(out - block);
  return reinterpret_cast<Result*>(block);
}

size_t utf16Size(uint16_t) { return 2; }

uint8_t* writeUtf16(uint16_t unit, uint8_t* out) {
  std::memcpy(out, &unit, 2);
  return out + 2;
}

size_t utf8Size(uint16_t unit) { return kUtf8LengthByCodePoint[unit >> 6]; }

uint8_t* writeUtf8(uint16_t unit, uint8_t* out) {
  switch (utf8Size(unit)) {
    case 1:
      *out++ = static_cast<uint8_t>(unit);
      break;
    case 2:
      *out++ = static_cast<uint8_t>(0xC0 | unit >> 6);
      *out++ = static_cast<uint8_t>(0x80 | (unit & 0x3F));
      break;
    default:
      *out++ = static_cast<uint8_t>(0xE0 | unit >> 12);
      *out++ = static_cast<uint8_t>(0x80 | (unit >> 6 & 0x3F));
      *out++ = static_cast<uint8_t>(0x80 | (unit & 0x3F));
      break;
  }
  return out;
}

constexpr size_t kUtf16Terminator = 2;
constexpr size_t kUtf8Terminator = 3;
constexpr size_t kDoubleByteTerminator = 1;

// Room for the longer of the two code forms; the written length counts what was really needed.
size_t doubleByteReserve(uint16_t) { return 2; }

uint8_t* writeDoubleByte(uint16_t unit, uint8_t* out) {
  const uint16_t code = vellum::doubleByteTables().utf16ToDoubleByte[unit];
  if (code >= 256) *out++ = static_cast<uint8_t>(code >> 8);
  *out++ = static_cast<uint8_t>(code);
  return out;
}

auto doubleByteText(const char* text, uint32_t length) {
  return [=](auto&& sink) { vellum::decodeDoubleByte(reinterpret_cast<const uint8_t*>(text), length, sink); };
}

auto utf8Text(const char* text, uint32_t length) {
  return [=](auto&& sink) { vellum::decodeUtf8(reinterpret_cast<const uint8_t*>(text), length, sink); };
}

auto utf16Text(const uint16_t* units, uint32_t length) {
  return [=](auto&& sink) { vellum::decodeUtf16(units, length, sink); };
}

}  // namespace

uint16_t* sjis_to_utf16(const char* text, uint32_t* length) {
  return convert<uint16_t>(doubleByteText(text, *length), utf16Size, writeUtf16, kUtf16Terminator, length);
}

char* sjis_to_utf8(const char* text, uint32_t* length) {
  return convert<char>(doubleByteText(text, *length), utf8Size, writeUtf8, kUtf8Terminator, length);
}

// When the result does not fit, *length still tells its size (the copy needs *length + 3 bytes).
char* sjis_to_utf8_s(char* text, uint32_t* length, uint32_t bufferSize) {
  char* converted = sjis_to_utf8(text, length);
  if (!converted || bufferSize == 0) return converted;
  const size_t copySize = size_t{*length} + kUtf8Terminator;
  if (bufferSize < copySize) {
    vellum::freeAligned(converted);
    return nullptr;
  }
  std::memcpy(text, converted, copySize);
  vellum::freeAligned(converted);
  return text;
}

char* utf16_to_utf8(const uint16_t* units, uint32_t* length) {
  return convert<char>(utf16Text(units, *length), utf8Size, writeUtf8, kUtf8Terminator, length);
}

char* utf16_to_sjis(const uint16_t* units, uint32_t* length) {
  uint32_t bytes = *length;
  if (bytes >= 2 && units[0] == kByteOrderMark) {
    ++units;
    bytes -= 2;
  }
  return convert<char>(utf16Text(units, bytes), doubleByteReserve, writeDoubleByte, kDoubleByteTerminator, length);
}

char* utf8_to_sjis(const char* text, uint32_t* length) {
  return convert<char>(utf8Text(text, *length), doubleByteReserve, writeDoubleByte, kDoubleByteTerminator, length);
}

uint16_t* utf8_to_utf16(const char* text, uint32_t* length) {
  return convert<uint16_t>(utf8Text(text, *length), utf16Size, writeUtf16, kUtf16Terminator, length);
}
