// The code page tables of the text conversions (text_encoding.h), generated on the build machine
// from its iconv (build/generated/text_encoding_tables.cpp), so that no iconv with these code pages
// is needed where the engine runs.
#pragma once

#include <cstdint>

namespace vellum {

inline constexpr uint16_t kNoCodePageValue = 0xFFFF;

// Keys k * 256 + first .. k * 256 + last of row k have their values at offset .. offset + last -
// first; an empty row has first > last.
struct CodePageRow {
  uint16_t first;
  uint16_t last;
  uint32_t offset;
};

// A 16-bit key -> a 16-bit value, kNoCodePageValue where there is none.
struct CodePageTable {
  const CodePageRow* rows;
  const uint16_t* values;

  uint16_t find(uint32_t key) const {
    const CodePageRow& row = rows[key >> 8 & 0xFF];
    const uint32_t column = key & 0xFF;
    return column >= row.first && column <= row.last ? values[row.offset + column - row.first] : kNoCodePageValue;
  }
};

// Decode: a single byte (row 0) or a double byte (lead * 256 + trail) -> its basic-plane code
// point. Encode: a basic-plane code point -> a single byte (below 256) or lead * 256 + trail.
extern const CodePageTable kGbkDecode;
extern const CodePageTable kGbkEncode;
extern const CodePageTable kShiftJisDecode;
extern const CodePageTable kShiftJisEncode;

}  // namespace vellum
