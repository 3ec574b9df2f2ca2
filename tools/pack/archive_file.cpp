#include "archive_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "source_tree.h"
#include "storage/archive_index.h"
#include "storage/file_loader.h"
#include "tool_error.h"

namespace vellum::pack {

namespace {

bool inRange(const ArchiveFile& archive, uint64_t offset, uint64_t size) {
  return offset + size <= archive.bytes.size();
}

std::optional<std::string> inflateEntry(const ArchiveFile& archive, const IndexEntry& entry, uint32_t wordKey,
                                        std::vector<uint8_t>& out) {
  if (!inRange(archive, entry.offset, entry.storedSize)) return "the entry lies outside the file";
  if (entry.unpackedSize > kMaxLoadSize) return "the unpacked size is over the load limit";
  if (entry.unpackedSize > entry.storedSize * kMaxInflateRatio + kInflateRatioSlack)
    return "the unpacked size cannot come from a stream of the stored size";
  std::vector<uint8_t> stream(archive.bytes.begin() + entry.offset,
                              archive.bytes.begin() + entry.offset + entry.storedSize);
  xorWords(stream.data(), stream.size(), wordKey);
  out.resize(entry.unpackedSize);
  uLongf length = out.size();
  if (uncompress(out.data(), &length, stream.data(), stream.size()) != Z_OK) return "inflation failed";
  out.resize(length);
  return std::nullopt;
}

}  // namespace

ArchiveFile readArchiveFile(const std::filesystem::path& file) {
  ArchiveFile archive;
  archive.file = file;
  archive.bytes = readBytes(file);
  const std::vector<uint8_t>& b = archive.bytes;
  if (b.size() < 4) throw ToolError(file.string() + ": too short for an archive index");
  uint32_t layoutXor = 0;
  size_t header = 4;
  archive.count = readLe32(b.data()) ^ kLegacyCountXor;
  if (readLe32(b.data()) == kArchiveMagic) {
    if (b.size() < 8) throw ToolError(file.string() + ": the ACV1 header has no count");
    archive.count = readLe32(b.data() + 4) ^ kArchiveCountXor;
    layoutXor = kArchiveCountXor;
    header = 8;
  }
  const uint64_t whole = (b.size() - header) / kArchiveEntrySize;
  const uint64_t present = std::min<uint64_t>(archive.count, whole);
  if (present < archive.count)
    std::fprintf(stderr, "vellum-pack: %s: the index is truncated, %llu of %u entries present\n",
                 file.string().c_str(), static_cast<unsigned long long>(present), archive.count);
  archive.entries.reserve(present);
  for (uint64_t i = 0; i < present; ++i)
    archive.entries.push_back(decodeIndexEntry(b.data() + header + i * kArchiveEntrySize, layoutXor));
  return archive;
}

uint32_t storedSizeFor(const IndexEntry& entry, std::string_view gamePath) {
  if (entry.flags & kArchiveCompressed) return entry.storedSize;
  return entry.storedSize ^ sizePathByte(gamePath);
}

std::optional<std::string> decodeEntry(const ArchiveFile& archive, const IndexEntry& entry,
                                       std::string_view gamePath, std::optional<uint32_t> titleWord,
                                       std::vector<uint8_t>& out) {
  const auto keyWord = static_cast<uint32_t>(entry.key);
  if (titleWord) return inflateEntry(archive, entry, keyWord ^ *titleWord, out);
  if (entry.flags & kArchiveCompressed) return inflateEntry(archive, entry, keyWord, out);

  const uint64_t offset = entry.offset ^ offsetPathByte(gamePath);
  const uint64_t size = storedSizeFor(entry, gamePath);
  if (!inRange(archive, offset, size)) return "the entry lies outside the file";
  out.assign(archive.bytes.begin() + static_cast<ptrdiff_t>(offset),
             archive.bytes.begin() + static_cast<ptrdiff_t>(offset + size));
  if (entry.flags != 0) scrambleWithPath(out.data(), out.size(), gamePath);
  return std::nullopt;
}

}  // namespace vellum::pack
