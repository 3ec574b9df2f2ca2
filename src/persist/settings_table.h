// The one table of configuration keys: name, how the value is written, its default, where the
// stored value lives and, for the keys that have one, the live copy. The reader, the writer and
// resetSettings all walk it, so a key is added here and nowhere else.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vellum {

enum class SettingFormat : uint8_t {
  PlayTime,   // TotalTime: uppercase hexadecimal, the first line, no line break before it
  Decimal,    // signed decimal
  Colour,     // "0x" + uppercase hexadecimal
  Megabytes,  // held in bytes, written and read in megabytes
  OrBits,     // decimal; reading ORs the file's bits into the current value
  Text,       // FontFile: the text as it is
  Path,       // CursorFile, WallPaper: after the key lines, each ending its own line
};

using SettingSlot = std::variant<std::monostate, int32_t*, uint32_t*, int64_t*, std::string*>;

struct SettingKey {
  std::string_view name;
  SettingFormat format;
  int64_t defaultValue = 0;
  SettingSlot stored;
  SettingSlot live;  // monostate when the key has no live copy
  std::string_view defaultText;
};

// In file order: TotalTime, the keys StartingSetUp ... FadeVolDown, the reading-aloud keys, the pad keys,
// CursorFile, WallPaper.
std::span<const SettingKey> settingsTable();
// nullptr for a name that is not a key.
const SettingKey* findSetting(std::string_view name);

// A numeric slot's value widened, and a value stored into it (cut to the slot's width).
int64_t slotValue(const SettingSlot& slot);
void setSlotValue(const SettingSlot& slot, int64_t value);

}  // namespace vellum
