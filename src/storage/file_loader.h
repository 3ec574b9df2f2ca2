// Loading game files: from the archive index when it holds the path's key, else loose under the
// game folder. Every failure is reported through the error path and returns a failure.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "storage/archive_index.h"

namespace vellum {

// The most bytes one load may produce. Index sizes are untrusted; a game file near this size is
// already absurd, and the inflate buffer (size + size/8 + 12) stays well inside 32 bits.
constexpr uint32_t kMaxLoadSize = 1u << 30;
// No zlib stream inflates by more than about 1032:1; a larger unpacked size is a corrupt index.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateRatioSlack = 4096;

struct StorageState {
  ArchiveIndex archives;
  bool archivesPresent = false;
  // The shared, grow-only load buffer of main-thread loaders.
  uint8_t* scratch = nullptr;
  uint32_t scratchCapacity = 0;
};

StorageState& storage();
void resetStorage();  // frees the index and the scratch buffer

// Reads arc0.dat ... arc8.dat from the game folder into a fresh index; missing ones are skipped.
void readArchives();

// Opens the file's data as a stream positioned at its first byte. When `size` is 0 on entry it is
// set to the stored size. `key` comes back as the path's FileKey, or 0 for a loose file. Loose
// paths containing ':' or starting with '/' are used as they are, others are under the game folder.
// On failure the cause is reported, errno tells it, and the result is null.
FILE* openFile(std::string_view path, uint32_t& size, uint64_t& key);

// Whether the path names a stored file: an entry of the archive index (when archives are present)
// or an existing loose regular file. Reports nothing.
bool storedFileExists(std::string_view path);

// The whole file in memory, descrambled and inflated, into the caller's buffer (replaced by a
// larger 16-byte-aligned block when its capacity is too small). A nonzero `size` limits a plain
// read. Returns false after reporting.
bool loadFile(std::string_view path, uint8_t*& buffer, uint32_t& size, uint32_t& capacity);

}  // namespace vellum
