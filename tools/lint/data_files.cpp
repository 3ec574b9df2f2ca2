#include "data_files.h"

#include <algorithm>
#include <cctype>

#include "source_tree.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"

namespace vellum::lint {

namespace fs = std::filesystem;

namespace {

std::string foldCase(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return out;
}

}  // namespace

std::string normaliseGamePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

void DataFiles::addFolder(const fs::path& root) {
  for (const pack::SourceFile& f : pack::listSourceFiles(root, "")) {
    names_.insert(f.gamePath);
    byFoldedName_.try_emplace(foldCase(f.gamePath), f.gamePath);
  }
}

void DataFiles::addGame(const fs::path& game) {
  ArchiveIndex index;
  for (int n = 0; n <= 8; ++n) {
    const fs::path archive = game / ("arc" + std::to_string(n) + ".dat");
    std::error_code ec;
    if (fs::is_regular_file(archive, ec)) readArchiveIndex(archive.string(), index);
  }
  for (const auto& [key, entry] : index) archiveKeys_.insert(key);
  addFolder(game);
}

DataFiles::Match DataFiles::find(std::string_view gamePath, std::string& actual) const {
  const std::string path = normaliseGamePath(gamePath);
  if (names_.count(path) || archiveKeys_.count(crc64Of(path)) || archiveKeys_.count(crc64Of(gamePath)))
    return Match::Found;
  const auto folded = byFoldedName_.find(foldCase(path));
  if (folded == byFoldedName_.end()) return Match::Missing;
  actual = folded->second;
  return Match::OtherCase;
}

}  // namespace vellum::lint
