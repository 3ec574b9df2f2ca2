// The failure reports of archive reading and file loading, in one place so that the fixed texts
// (Shift-JIS where Japanese) are written once. Every report goes through errorc with the box.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellum {

// `path` is the game path as the caller gave it (GBK); file-system paths are UTF-8 names.
void reportArchiveOpenFailed(std::string_view path, int error);            // (openFile1)
void reportEntryOutsideArchive(std::string_view path, std::string_view archivePath, uint64_t offset,
                               uint64_t size, uint64_t archiveSize);       // (openFile2)
void reportLooseOpenFailed(std::string_view fileSystemPath, int error);    // (openFile3)
void reportLoadOpenFailed(std::string_view path, int error);               // (loadFile1)

enum class LoadAllocation {
  PlainBuffer = 2,       // (loadFile2)
  CompressedBlock = 3,   // (loadFile3)
  InflateBuffer = 4,     // (loadFile4)
  Inflate = 5,           // (loadFile5): reported with the same memory text as the allocations
};
void reportLoadMemory(std::string_view path, LoadAllocation step, uint32_t capacity);

void reportShortRead(std::string_view path, uint64_t got, uint64_t wanted);                 // (loadFile6)
// Sizes taken from an index are untrusted: an unpacked size no zlib stream of the stored size can
// produce, or any load over the limit, is refused before anything is allocated.
void reportImplausibleSize(std::string_view path, uint64_t unpackedSize, uint64_t storedSize);  // (loadFile7)
void reportOverLoadLimit(std::string_view path, uint64_t size, uint64_t limit);                // (loadFile7)

// The header words themselves are missing, or fewer whole entries follow than the count says.
void reportTruncatedIndexHeader(std::string_view archivePath);
void reportTruncatedIndex(std::string_view archivePath, uint64_t entriesRead, uint64_t count);

// The C library's text for an error number (thread-safe).
std::string_view errorText(int error, char (&buffer)[128]);

}  // namespace vellum
