// script and archive: walk a folder, build the container, write it.
#include <cstdio>

#include "commands.h"
#include "services/script_source_text.h"
#include "source_tree.h"
#include "storage/archive_writer.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

void writeContainer(const PackOptions& options, bool built, const std::vector<uint8_t>& bytes,
                    const std::string& error, size_t count) {
  if (!built) throw ToolError(options.output + ": " + error);
  writeBytes(options.output, bytes);
  std::printf("%s: %zu entries, %zu bytes\n", options.output.c_str(), count, bytes.size());
}

}  // namespace

std::vector<ArchiveMember> scriptMembers(const fs::path& root, bool fromUtf8, const fs::path& exclude) {
  const fs::path scripts = root / "script";
  const std::vector<SourceFile> files = listSourceFiles(scripts, "script/", exclude);
  if (files.empty()) throw ToolError(scripts.string() + ": no script files to pack");

  std::vector<ArchiveMember> members;
  members.reserve(files.size());
  for (const SourceFile& f : files) {
    std::vector<uint8_t> text = readBytes(f.file);
    if (fromUtf8) {
      std::vector<uint8_t> gbk;
      if (!utf8ToGbk(text, gbk))
        std::fprintf(stderr, "vellum-pack: %s: warning: not all of it has a GBK form; '?' written instead\n",
                     f.file.string().c_str());
      text = std::move(gbk);
    }
    members.push_back({f.gamePath, normaliseLineEnds(text)});
  }
  return members;
}

void packScripts(const PackOptions& options) {
  const std::vector<ArchiveMember> members = scriptMembers(options.input, options.fromUtf8, options.output);
  std::vector<uint8_t> bytes;
  std::string error;
  const bool built = buildScriptContainer(members, options.title, ArchiveLayout::Acv1, bytes, error);
  writeContainer(options, built, bytes, error, members.size());
}

void packArchive(const PackOptions& options) {
  const std::vector<SourceFile> files = listSourceFiles(options.input, "", options.output);
  std::vector<ArchiveMember> members;
  members.reserve(files.size());
  for (const SourceFile& f : files) members.push_back({f.gamePath, readBytes(f.file)});

  std::vector<uint8_t> bytes;
  std::string error;
  const bool built = buildArchive(members, options.mode, options.layout, bytes, error);
  writeContainer(options, built, bytes, error, members.size());
}

}  // namespace vellum::pack
