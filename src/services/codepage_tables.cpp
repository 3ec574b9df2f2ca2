#include "services/codepage_tables.h"

#include "base/text_encoding_tables.h"

namespace vellum::codepage_detail {

namespace {

// The compact tables mark a missing code with kNoCodePageValue; the full-size ones with 0.
uint16_t orZero(uint16_t value) { return value == kNoCodePageValue ? 0 : value; }

}  // namespace

void fillDoubleByteTables(DoubleByteTables& tables) {
  // Lead bytes 0x81-0xFE; the rest of the range stays 0.
  for (uint32_t code = 0x8100; code <= 0xFEFF; ++code) tables.doubleByteToUtf16[code] = orZero(kGbkDecode.find(code));
  for (uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // surrogate halves are no characters
    tables.utf16ToDoubleByte[unit] = orZero(kShiftJisEncode.find(unit));
  }
}

}  // namespace vellum::codepage_detail
