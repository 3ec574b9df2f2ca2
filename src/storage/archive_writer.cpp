#include "storage/archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <unordered_set>

#include "storage/archive_format.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

constexpr uint8_t kScrambledFlags = 0x01;

// One member's bytes as they go into the archive, with its entry fields before encoding.
struct PackedMember {
  IndexEntry entry;
  std::vector<uint8_t> data;
};

bool compressLevel9(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
  uLongf length = compressBound(data.size());
  out.resize(length);
  if (compress2(out.data(), &length, data.data(), data.size(), 9) != Z_OK) return false;
  out.resize(length);
  return true;
}

bool checkMember(const ArchiveMember& m, std::unordered_set<uint64_t>& keys, std::string& error) {
  if (m.path.empty()) {
    error = "an empty path has key 0, which marks a loose file";
    return false;
  }
  if (m.data.size() > UINT32_MAX) {
    error = m.path + ": larger than 4 GiB";
    return false;
  }
  if (!keys.insert(crc64Of(m.path)).second) {
    error = m.path + ": its key is already taken by another member";
    return false;
  }
  return true;
}

// Compressed members: a zlib stream whose whole words carry `wordKey`.
bool packCompressed(const ArchiveMember& m, uint32_t wordKey, PackedMember& packed, std::string& error) {
  if (!compressLevel9(m.data, packed.data)) {
    error = m.path + ": zlib could not compress it";
    return false;
  }
  xorWords(packed.data.data(), packed.data.size(), wordKey);
  packed.entry.flags = kArchiveCompressed;
  packed.entry.storedSize = static_cast<uint32_t>(packed.data.size());
  packed.entry.unpackedSize = static_cast<uint32_t>(m.data.size());
  return true;
}

void packStored(const ArchiveMember& m, uint8_t flags, PackedMember& packed) {
  packed.data = m.data;
  if (flags != 0) scrambleWithPath(packed.data.data(), packed.data.size(), m.path);
  packed.entry.flags = flags;
  packed.entry.storedSize = static_cast<uint32_t>(m.data.size());
  packed.entry.unpackedSize = static_cast<uint32_t>(m.data.size());
}

// Lays out header, index and data; offsets are known once every member is packed.
bool assemble(const std::vector<ArchiveMember>& members, std::vector<PackedMember>& packed,
              ArchiveLayout layout, std::vector<uint8_t>& out, std::string& error) {
  const bool acv1 = layout == ArchiveLayout::Acv1;
  const uint32_t layoutXor = acv1 ? kArchiveCountXor : 0;
  const auto count = static_cast<uint32_t>(packed.size());
  const uint64_t headerSize = acv1 ? 8 : 4;
  uint64_t offset = headerSize + uint64_t{count} * kArchiveEntrySize;
  uint64_t total = offset;
  for (const PackedMember& p : packed) total += p.data.size();
  if (total > UINT32_MAX) {
    error = "the archive would be larger than 4 GiB";
    return false;
  }

  out.assign(total, 0);
  if (acv1) {
    writeLe32(out.data(), kArchiveMagic);
    writeLe32(out.data() + 4, count ^ kArchiveCountXor);
  } else {
    writeLe32(out.data(), count ^ kLegacyCountXor);
  }
  for (uint32_t i = 0; i < count; ++i) {
    PackedMember& p = packed[i];
    const std::string& path = members[i].path;
    IndexEntry entry = p.entry;
    entry.offset = static_cast<uint32_t>(offset);
    if ((entry.flags & kArchiveCompressed) == 0) {
      // Stored entries also carry the path-byte XOR that the loader undoes when opening.
      entry.offset ^= offsetPathByte(path);
      entry.storedSize ^= sizePathByte(path);
    }
    encodeIndexEntry(entry, layoutXor, out.data() + headerSize + uint64_t{i} * kArchiveEntrySize);
    std::copy(p.data.begin(), p.data.end(), out.begin() + static_cast<ptrdiff_t>(offset));
    offset += p.data.size();
  }
  return true;
}

}  // namespace

bool buildArchive(const std::vector<ArchiveMember>& members, ArchiveMode mode, ArchiveLayout layout,
                  std::vector<uint8_t>& out, std::string& error) {
  std::unordered_set<uint64_t> keys;
  std::vector<PackedMember> packed(members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    const ArchiveMember& m = members[i];
    if (!checkMember(m, keys, error)) return false;
    packed[i].entry.key = crc64Of(m.path);
    switch (mode) {
      case ArchiveMode::Compress:
        if (!packCompressed(m, static_cast<uint32_t>(packed[i].entry.key), packed[i], error)) return false;
        break;
      case ArchiveMode::Scramble:
        packStored(m, kScrambledFlags, packed[i]);
        break;
      case ArchiveMode::Plain:
        packStored(m, 0, packed[i]);
        break;
    }
  }
  return assemble(members, packed, layout, out, error);
}

bool buildScriptContainer(const std::vector<ArchiveMember>& members, std::string_view title,
                          ArchiveLayout layout, std::vector<uint8_t>& out, std::string& error) {
  const auto titleWord = static_cast<uint32_t>(crc64Of(title));
  std::unordered_set<uint64_t> keys;
  std::vector<PackedMember> packed(members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    const ArchiveMember& m = members[i];
    if (!checkMember(m, keys, error)) return false;
    packed[i].entry.key = crc64Of(m.path);
    const uint32_t wordKey = static_cast<uint32_t>(packed[i].entry.key) ^ titleWord;
    if (!packCompressed(m, wordKey, packed[i], error)) return false;
  }
  return assemble(members, packed, layout, out, error);
}

}  // namespace vellum
