// list and extract: read an archive or script container back, naming entries from a folder.
#include <cstdio>
#include <unordered_map>

#include "archive_file.h"
#include "commands.h"
#include "key_text.h"
#include "source_tree.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

// Key -> the file under ROOT whose relative path hashes to it.
std::unordered_map<uint64_t, SourceFile> namesUnder(const std::string& root) {
  std::unordered_map<uint64_t, SourceFile> names;
  if (root.empty()) return names;
  for (SourceFile& f : listSourceFiles(root, "")) {
    const uint64_t key = crc64Of(f.gamePath);
    names.emplace(key, std::move(f));
  }
  return names;
}

bool namedScriptContainer(const fs::path& file) { return file.filename() == "script.dat"; }

}  // namespace

void listEntries(const PackOptions& options) {
  const ArchiveFile archive = readArchiveFile(options.input);
  const auto names = namesUnder(options.names);
  for (const IndexEntry& e : archive.entries) {
    const auto name = names.find(e.key);
    const bool known = name != names.end();
    const uint32_t stored = known ? storedSizeFor(e, name->second.gamePath) : e.storedSize;
    std::printf("%-13s 0x%02X %10u %10u%s%s\n", keyToBase32(e.key).c_str(), e.flags, stored, e.unpackedSize,
                known ? " " : "", known ? name->second.relative.c_str() : "");
  }
}

bool extractEntries(const PackOptions& options) {
  const ArchiveFile archive = readArchiveFile(options.input);
  const auto names = namesUnder(options.names);
  const auto titleWord = static_cast<uint32_t>(crc64Of(options.title));
  // A file named script.dat is a script container; any other compressed entry that only decodes
  // with the title is one too.
  const bool script = namedScriptContainer(archive.file);

  size_t written = 0;
  size_t unnamed = 0;
  bool allDecoded = true;
  for (const IndexEntry& e : archive.entries) {
    const auto name = names.find(e.key);
    if (name == names.end()) {
      ++unnamed;
      continue;
    }
    const SourceFile& source = name->second;
    std::vector<uint8_t> data;
    const std::optional<uint32_t> firstTitle = script ? std::optional(titleWord) : std::nullopt;
    std::optional<std::string> failure = decodeEntry(archive, e, source.gamePath, firstTitle, data);
    if (failure && !script && (e.flags & kArchiveCompressed) &&
        !decodeEntry(archive, e, source.gamePath, titleWord, data))
      failure.reset();
    if (failure) {
      std::fprintf(stderr, "vellum-pack: %s: %s: %s\n", archive.file.string().c_str(), source.relative.c_str(),
                   failure->c_str());
      allDecoded = false;
      continue;
    }
    writeBytes(fs::path(options.output) / source.relative, data);
    ++written;
  }
  std::printf("%s: %zu entries written to %s, %zu without a known name\n", archive.file.string().c_str(), written,
              options.output.c_str(), unnamed);
  return allDecoded;
}

}  // namespace vellum::pack
