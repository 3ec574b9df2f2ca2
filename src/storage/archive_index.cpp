#include "storage/archive_index.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "storage/archive_format.h"
#include "storage/file_handle.h"
#include "storage/storage_messages.h"

namespace vellum {

bool readArchiveIndex(const std::string& path, ArchiveIndex& index) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  uint64_t fileSize = 0;
  if (!regularFileSize(file.get(), fileSize)) {
    errno = EISDIR;
    return false;
  }

  uint8_t word[4];
  if (std::fread(word, 1, 4, file.get()) != 4) {
    reportTruncatedIndexHeader(path);
    return true;
  }
  uint32_t count = readLe32(word);
  uint32_t layoutXor = 0;
  uint64_t headerSize = 4;
  if (count == kArchiveMagic) {
    if (std::fread(word, 1, 4, file.get()) != 4) {
      reportTruncatedIndexHeader(path);
      return true;
    }
    count = readLe32(word) ^ kArchiveCountXor;
    layoutXor = kArchiveCountXor;
    headerSize = 8;
  } else {
    count ^= kLegacyCountXor;
  }

  // The count is untrusted: read no more entries than the file can hold, in one read.
  const uint64_t available = fileSize > headerSize ? (fileSize - headerSize) / kArchiveEntrySize : 0;
  const uint64_t wanted = std::min<uint64_t>(count, available);
  std::vector<uint8_t> bytes(wanted * kArchiveEntrySize);
  const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
  const uint64_t complete = got / kArchiveEntrySize;
  if (complete < count) reportTruncatedIndex(path, complete, count);

  index.reserve(index.size() + complete);
  for (uint64_t i = 0; i < complete; ++i) {
    const IndexEntry raw = decodeIndexEntry(bytes.data() + i * kArchiveEntrySize, layoutXor);
    ArchiveEntry& entry = index[raw.key];  // a later entry of the same key wins
    entry.archivePath = path;
    entry.flags = raw.flags;
    entry.offset = raw.offset;
    entry.storedSize = raw.storedSize;
    entry.unpackedSize = raw.unpackedSize;
    entry.archiveSize = fileSize;
  }
  return true;
}

}  // namespace vellum
