#include "elf_needed.h"

#include <cstring>

namespace vellum::pack {

namespace {

constexpr uint32_t kLoadSegment = 1, kDynamicSegment = 2;
constexpr uint64_t kNeeded = 1, kStringTable = 5;

// Reads fields of either ELF class from bounds-checked offsets.
class ElfView {
 public:
  explicit ElfView(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  bool readable(uint64_t offset, uint64_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  uint64_t field(uint64_t offset, unsigned size) const {
    uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i) v |= static_cast<uint64_t>(bytes_[offset + i]) << (8 * i);
    return v;
  }
  // A NUL-terminated string at `offset`, or nullopt when it runs past the end.
  std::optional<std::string> text(uint64_t offset) const {
    if (offset >= bytes_.size()) return std::nullopt;
    const void* end = std::memchr(bytes_.data() + offset, 0, bytes_.size() - offset);
    if (!end) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes_.data() + offset), static_cast<const char*>(end));
  }

 private:
  const std::vector<uint8_t>& bytes_;
};

struct Segment {
  uint32_t type;
  uint64_t offset, address, size;
};

}  // namespace

std::optional<std::vector<std::string>> neededLibraries(const std::vector<uint8_t>& elf) {
  const ElfView view(elf);
  if (!view.readable(0, 64) || std::memcmp(elf.data(), "\x7f" "ELF", 4) != 0 || elf[5] != 1) return std::nullopt;
  const bool wide = elf[4] == 2;
  if (!wide && elf[4] != 1) return std::nullopt;
  const unsigned word = wide ? 8 : 4;

  // The program headers: where the loadable segments lie in the file, and the dynamic section.
  const uint64_t headers = view.field(wide ? 32 : 28, word);
  const uint64_t headerSize = view.field(wide ? 54 : 42, 2), headerCount = view.field(wide ? 56 : 44, 2);
  if (headerSize < (wide ? 56u : 32u) || !view.readable(headers, headerSize * headerCount)) return std::nullopt;
  std::vector<Segment> loads;
  std::optional<Segment> dynamic;
  for (uint64_t i = 0; i < headerCount; ++i) {
    const uint64_t h = headers + i * headerSize;
    const Segment s{static_cast<uint32_t>(view.field(h, 4)), view.field(h + (wide ? 8 : 4), word),
                    view.field(h + (wide ? 16 : 8), word), view.field(h + (wide ? 32 : 16), word)};
    if (s.type == kLoadSegment) loads.push_back(s);
    if (s.type == kDynamicSegment) dynamic = s;
  }
  if (!dynamic) return std::vector<std::string>{};
  if (!view.readable(dynamic->offset, dynamic->size)) return std::nullopt;

  // The dynamic entries: the needed names are offsets into the string table, which is given by
  // its address in memory.
  std::vector<uint64_t> nameOffsets;
  std::optional<uint64_t> stringTableAddress;
  const unsigned entrySize = 2 * word;
  for (uint64_t e = dynamic->offset; e + entrySize <= dynamic->offset + dynamic->size; e += entrySize) {
    const uint64_t tag = view.field(e, word), value = view.field(e + word, word);
    if (tag == 0) break;
    if (tag == kNeeded) nameOffsets.push_back(value);
    if (tag == kStringTable) stringTableAddress = value;
  }
  if (nameOffsets.empty()) return std::vector<std::string>{};
  if (!stringTableAddress) return std::nullopt;
  std::optional<uint64_t> stringTable;
  for (const Segment& s : loads)
    if (*stringTableAddress >= s.address && *stringTableAddress - s.address < s.size)
      stringTable = s.offset + (*stringTableAddress - s.address);
  if (!stringTable) return std::nullopt;

  std::vector<std::string> names;
  for (const uint64_t offset : nameOffsets) {
    if (offset > UINT64_MAX - *stringTable) return std::nullopt;
    std::optional<std::string> name = view.text(*stringTable + offset);
    if (!name) return std::nullopt;
    names.push_back(std::move(*name));
  }
  return names;
}

}  // namespace vellum::pack
