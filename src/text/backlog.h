// The backlog ring: 200 entries, the one being written selected by `index`. The interpreter writes
// the speaker name and the message origin of the current entry; the message window writes its text.
#pragma once

#include <array>
#include <cstdint>

namespace vellum {

struct BacklogEntry {
  char text[1024] = {};  // a nonzero first byte: the page already holds text of this message
  char tag[256] = {};    // speaker name
  int nameLength = 0;
  uint64_t originKey = 0;   // file of the line the message started on
  uint16_t originLine = 0;
  uint16_t pushDepth = 0;   // depth of the save stack when the message started
  uint16_t screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  uint8_t rows = 0;
  uint8_t saveFlag = 0;
};

constexpr int kBacklogEntries = 200;

struct BacklogState {
  std::array<BacklogEntry, kBacklogEntries> entries{};
  int index = 0;
  // Values the message origin records from the save system.
  uint16_t savePushDepth = 0;
  uint8_t saveFlag = 0;

  BacklogEntry& current() { return entries[index]; }
};

BacklogState& backlog();
void resetBacklog();

}  // namespace vellum
