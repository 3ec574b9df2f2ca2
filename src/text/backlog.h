// The backlog ring: 200 entries, the one being written selected by `index`. The interpreter writes
// the speaker name and the message origin of the current entry; the message window writes its text;
// committing a page records the sprites on screen as the entry's picture log.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vellum {

// One sprite shown with a backlog page, enough to draw it again. A record whose source name is
// empty ends an entry's list; a full list of 16 has no terminator.
struct ImageLogRecord {
  char sourceName[64] = {};    // "a" for a canvas sprite
  char secondSource[64] = {};  // the mask picture's name
  int16_t x = 0, y = 0;
  int16_t scaleX = 0, scaleY = 0;  // hundredths
  int16_t rotation = 0;            // degrees, the script's sense
  int16_t clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
  int16_t maskX = 0, maskY = 0;
  int16_t sizeCodeX = 0, sizeCodeY = 0;  // size * 4 + anchor (0-2)
  int16_t spare1 = 0, spare2 = 0;        // always 0
  int16_t cellCode = 0;                  // cell * 256 + division code
  uint8_t alpha = 0;
  uint8_t kindAndBlend = 0;  // source kind + blend mode * 16
  uint8_t loadFlags = 0;     // (negative * 2 + greyscale) * 8 + rotate mode
  int32_t maskValues = 0;    // (mask 1 * 1024 + mask 2) * 1024 + mask 3
  int32_t spriteAndParent = 0;  // sprite * 65536 + parent
  int32_t colourOperation = 0;  // operation * 2^24 + colour (24 bits)
  int32_t brightnessContrast = 0, colourEffect = 0, hslEffect = 0, blur = 0, mosaic = 0;
};

constexpr int kImageLogRecords = 16;

struct BacklogEntry {
  char text[1024] = {};  // a nonzero first byte: the page already holds text of this message
  char tag[256] = {};    // speaker name
  int nameLength = 0;
  uint64_t originKey = 0;   // file of the line the message started on
  uint16_t originLine = 0;
  uint16_t pushDepth = 0;   // depth of the save stack when the message started
  // The screen camera when the page was committed: offsets in pixels, zoom in percent.
  int16_t screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  uint8_t rows = 0;
  uint8_t saveFlag = 0;
  std::array<ImageLogRecord, kImageLogRecords> imageLog{};
};

constexpr int kBacklogEntries = 200;

struct BacklogState {
  std::array<BacklogEntry, kBacklogEntries> entries{};
  int index = 0;  // the entry being written
  int count = 1;  // entries in use, at most 200
  int writeOffset = 0;  // where the current entry's text continues
  // Values the message origin records from the save system.
  uint16_t savePushDepth = 0;
  uint8_t saveFlag = 1;  // setSaveFlag's value

  BacklogEntry& current() { return entries[index]; }
  // Entry `index` - n, wrapping below 0 (n is 0-199).
  BacklogEntry& back(int n) { return entries[(index - n + kBacklogEntries) % kBacklogEntries]; }
};

BacklogState& backlog();
void resetBacklog();
// formatMess: every entry emptied, index 0, count 1; the save values stay.
void emptyBacklog();

// Writes `text` into a field of `capacity` bytes from `at`, NUL-terminated, cut before the first
// character that does not fit whole (a GBK lead byte 0x81-0xFE and its trail byte are one
// character). Returns the length of the field's text.
size_t writeWholeCharacters(char* field, size_t capacity, size_t at, std::string_view text);

// True for an entry distance the log commands accept (0-199); reports any other with the
// running command's context.
bool checkBacklogDistance(int n);

}  // namespace vellum
