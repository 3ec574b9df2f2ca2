// Save slot files and the state the save commands keep between calls: the current snapshot, the
// push stack and the comment. Slot n in form "dat" (compressed) or "txt" (plain) is the file
// SaveDirectory + "save%03d.<form>".
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

struct SaveStore {
  std::string snapshot;   // built by makeSave, emptied by clearSave and after a push or a restore
  std::string pushStack;  // blocks joined by the separator
  std::string comment;    // setSaveText's text
};

SaveStore& saveStore();
void resetSaveStore();

std::string saveSlotPath(int64_t slot, bool compressed);

// Reports " 番号が範囲外です" after the number (through the script error report) and returns false
// when the number is below 0 or above `last`; `last` < 0 means no upper bound.
bool checkSaveNumber(int64_t number, int64_t last);

// Creates the save folder and any folder above it; reports and returns false when that fails.
bool ensureSaveDirectory();

// The slot's last-write time in milliseconds since 1970-01-01 UTC; 0 for a missing file.
int64_t saveSlotTime(int64_t slot, bool compressed);
// The same as local calendar time, "%04d/%02d/%02d %02d:%02d:%02d"; the epoch for a missing file.
std::string saveSlotLocalTime(int64_t slot, bool compressed);
// The slot in first..last with the newest time (the lower slot on a tie); -1 when none exists.
int64_t newestSaveSlot(int64_t first, int64_t last, bool compressed);

// The protect flags of slots 0-99 (kept in setting.dat). Mode 0 clears, 1 sets, other values toggle.
// Both report an index outside 0-99 and change nothing.
bool setSaveProtect(int64_t slot, int64_t mode);
int getSaveProtect(int64_t slot);

}  // namespace vellum
