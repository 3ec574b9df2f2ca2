// How the regular-expression layer cuts text into characters. Text is bytes of a double-byte code
// page: a lead byte followed by a trail byte is one character, every other byte is one on its own,
// so a trail byte is never looked at by itself.
#pragma once

#include <cstddef>
#include <string_view>

#include "script/char_classes.h"

namespace vellum::regex {

enum class TextCodePage {
  Game,      // the game's code page: lead bytes 0x81-0xFC (this build's scripts are GBK)
  ShiftJis,  // Shift-JIS: 0xA1-0xDF are half-width katakana, one byte each
};

inline bool isLeadByte(unsigned char c, TextCodePage page) {
  if (page == TextCodePage::ShiftJis && c >= 0xA0 && c <= 0xDF) return false;
  return chars::kLeadByte[c];
}

// Bytes in the character that starts at i (i < text.size()).
inline size_t characterLength(std::string_view text, size_t i, TextCodePage page = TextCodePage::Game) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (i + 1 < text.size() && isLeadByte(c, page) && chars::kTrailByte[static_cast<unsigned char>(text[i + 1])]) {
    return 2;
  }
  return 1;
}

}  // namespace vellum::regex
