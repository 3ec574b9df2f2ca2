// The message window's lines of a save: "Massage" (speeds, waits, indents, the backlog position),
// "Font" (the message font and the string-sprite font), "Window" (geometry and log layout) and,
// only when it is on, "Proportional" (the proportional layout of Latin text).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "persist/save_text.h"

namespace vellum {

struct MessageSaveRecord {
  bool haveMassage = false, haveFont = false, haveWindow = false;
  std::array<int32_t, 9> massage{};
  std::string fontName, spriteFontName;
  uint32_t fontStyle = 0, colour1 = 0, colour2 = 0, colour3 = 0;
  uint32_t spriteStyle = 0, spriteColour1 = 0, spriteColour2 = 0, spriteColour3 = 0;
  int32_t spriteSize = 0;
  std::array<int32_t, 15> window{};
  bool proportional = false;
};

void writeMessageSaveLines(std::string& out);
// False after a report (a malformed line, a backlog position out of range).
bool readMessageSaveLines(const SaveBlock& block, MessageSaveRecord& record);
// Needs the backlog restored first (the position lines refer to its entries).
void applyMessageSaveLines(const MessageSaveRecord& record);

}  // namespace vellum
