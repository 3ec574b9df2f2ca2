#include "storage/file_loader.h"

#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <new>
#include <string>

#include "base/engine_state.h"
#include "base/text_encoding.h"
#include "storage/aligned_memory.h"
#include "storage/archive_format.h"
#include "storage/file_handle.h"
#include "storage/hashes.h"
#include "storage/storage_messages.h"
#include "storage/zlib_buffer.h"

namespace vellum {

namespace {

// Reports open files and append to the log, which may change errno; callers want the first cause.
template <typename Report>
void reportKeepingErrno(int error, Report report) {
  report();
  errno = error;
}

std::string looseFileSystemPath(std::string_view path) {
  const bool asIs = path.find(':') != std::string_view::npos || (!path.empty() && path.front() == '/');
  std::string name = gamePathToFileSystem(path);
  return asIs ? name : engine().exeDirectory + name;
}

FILE* openArchived(std::string_view path, const ArchiveEntry& entry, uint32_t& size) {
  const bool stored = (entry.flags & kArchiveCompressed) == 0;
  const uint32_t offset = entry.offset ^ (stored ? offsetPathByte(path) : 0);
  const uint32_t storedSize = entry.storedSize ^ (stored ? sizePathByte(path) : 0);
  // The index is untrusted: its range has to lie inside the archive it came from.
  if (uint64_t{offset} + storedSize > entry.archiveSize) {
    reportKeepingErrno(EINVAL, [&] {
      reportEntryOutsideArchive(path, entry.archivePath, offset, storedSize, entry.archiveSize);
    });
    return nullptr;
  }
  FileHandle file(std::fopen(entry.archivePath.c_str(), "rb"));
  if (!file) {
    const int error = errno;
    reportKeepingErrno(error, [&] { reportArchiveOpenFailed(path, error); });
    return nullptr;
  }
  if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
    const int error = errno;
    reportKeepingErrno(error, [&] { reportArchiveOpenFailed(path, error); });
    return nullptr;
  }
  if (size == 0) size = storedSize;
  return file.release();
}

FILE* openLoose(std::string_view path, uint32_t& size) {
  const std::string name = looseFileSystemPath(path);
  FileHandle file(std::fopen(name.c_str(), "rb"));
  int error = file ? 0 : errno;
  uint64_t length = 0;
  if (file && !regularFileSize(file.get(), length)) error = EISDIR;
  if (!error && length > UINT32_MAX) error = EFBIG;
  if (error) {
    reportKeepingErrno(error, [&] { reportLooseOpenFailed(name, error); });
    return nullptr;
  }
  if (size == 0) size = static_cast<uint32_t>(length);
  return file.release();
}

bool loadCompressed(std::string_view path, uint64_t key, const ArchiveEntry& entry, FileHandle file,
                    uint32_t requested, uint8_t*& buffer, uint32_t& size, uint32_t& capacity) {
  const uint32_t storedSize = entry.storedSize;
  const uint32_t unpackedSize = entry.unpackedSize;
  if (unpackedSize > kMaxLoadSize) {
    file.reset();
    reportOverLoadLimit(path, unpackedSize, kMaxLoadSize);
    return false;
  }
  if (unpackedSize > storedSize * kMaxInflateRatio + kInflateRatioSlack) {
    file.reset();
    reportImplausibleSize(path, unpackedSize, storedSize);
    return false;
  }

  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[storedSize ? storedSize : 1]);
  if (!block) {
    file.reset();
    reportLoadMemory(path, LoadAllocation::CompressedBlock, capacity);
    capacity = 0;
    return false;
  }
  const size_t got = std::fread(block.get(), 1, storedSize, file.get());
  file.reset();
  if (got != storedSize) {
    reportShortRead(path, got, storedSize);
    return false;
  }

  // Headroom beyond the unpacked size, as the format has always allocated; fits 32 bits by the cap.
  const auto need = static_cast<uint32_t>(uint64_t{unpackedSize} + unpackedSize / 8 + 12);
  if (!ensureCapacity(buffer, capacity, need)) {
    reportLoadMemory(path, LoadAllocation::InflateBuffer, need);
    return false;
  }
  xorWords(block.get(), storedSize, static_cast<uint32_t>(key));
  size_t inflated = 0;
  const InflateStatus rc = inflateZlib(block.get(), storedSize, buffer, unpackedSize, inflated);
  block.reset();
  if (rc != InflateStatus::Ok) {
    reportLoadMemory(path, LoadAllocation::Inflate, capacity);
    capacity = 0;
    return false;
  }
  size = requested ? requested : static_cast<uint32_t>(inflated);
  return true;
}

bool loadStored(std::string_view path, const ArchiveEntry* entry, FileHandle file, uint32_t requested,
                uint8_t*& buffer, uint32_t& size, uint32_t& capacity) {
  if (requested) size = requested;
  if (size > kMaxLoadSize) {
    file.reset();
    reportOverLoadLimit(path, size, kMaxLoadSize);
    return false;
  }
  if (!ensureCapacity(buffer, capacity, size)) {
    file.reset();
    reportLoadMemory(path, LoadAllocation::PlainBuffer, size);
    return false;
  }
  const size_t got = size ? std::fread(buffer, 1, size, file.get()) : 0;
  file.reset();
  if (got != size) {
    reportShortRead(path, got, size);
    return false;
  }
  if (entry && entry->flags != 0) scrambleWithPath(buffer, size, path);
  return true;
}

}  // namespace

FILE* openFile(std::string_view path, uint32_t& size, uint64_t& key) {
  key = crc64Of(path);
  const StorageState& s = storage();
  // Key 0 is the mark of a loose file, so it is never looked up.
  if (s.archivesPresent && key != 0) {
    const auto it = s.archives.find(key);
    if (it != s.archives.end()) return openArchived(path, it->second, size);
  }
  key = 0;
  return openLoose(path, size);
}

bool storedFileExists(std::string_view path) {
  const uint64_t key = crc64Of(path);
  const StorageState& s = storage();
  if (s.archivesPresent && key != 0 && s.archives.count(key) != 0) return true;
  struct stat st{};
  return stat(looseFileSystemPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool loadFile(std::string_view path, uint8_t*& buffer, uint32_t& size, uint32_t& capacity) {
  const uint32_t requested = size;
  uint64_t key = 0;
  FileHandle file(openFile(path, size, key));
  if (!file) {
    reportLoadOpenFailed(path, errno);
    return false;
  }
  const ArchiveIndex& index = storage().archives;
  const auto it = key ? index.find(key) : index.end();
  const ArchiveEntry* entry = it != index.end() ? &it->second : nullptr;
  if (entry && (entry->flags & kArchiveCompressed)) {
    return loadCompressed(path, key, *entry, std::move(file), requested, buffer, size, capacity);
  }
  return loadStored(path, entry, std::move(file), requested, buffer, size, capacity);
}

}  // namespace vellum
