#include "source_tree.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/text_encoding.h"
#include "tool_error.h"

namespace vellum::pack {

namespace fs = std::filesystem;

namespace {

std::string describe(const fs::path& file, const std::string& what) { return file.string() + ": " + what; }

bool samePath(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return !b.empty() && fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

}  // namespace

std::vector<SourceFile> listSourceFiles(const fs::path& root, const std::string& prefix, const fs::path& exclude) {
  std::error_code ec;
  if (!fs::is_directory(root, ec)) throw ToolError(describe(root, "not a folder"));
  std::vector<SourceFile> files;
  fs::recursive_directory_iterator it(root, ec);
  if (ec) throw ToolError(describe(root, "cannot list: " + ec.message()));
  for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
    if (ec) throw ToolError(describe(root, "cannot list: " + ec.message()));
    if (!it->is_regular_file(ec) || samePath(it->path(), exclude)) continue;
    SourceFile f;
    f.file = it->path();
    f.relative = it->path().lexically_relative(root).generic_string();
    const std::string name = prefix + f.relative;
    f.gamePath = fromUtf8(name, CodePage::Gbk);
    if (toUtf8(f.gamePath, CodePage::Gbk) != name) throw ToolError(describe(f.file, "the name has no GBK form"));
    files.push_back(std::move(f));
  }
  std::sort(files.begin(), files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.relative < b.relative; });
  return files;
}

std::vector<uint8_t> readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ToolError(describe(file, std::string("cannot open: ") + std::strerror(errno)));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ToolError(describe(file, "read failed"));
  return bytes;
}

void writeBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  if (ec) throw ToolError(describe(file.parent_path(), "cannot create the folder: " + ec.message()));
  fs::path partial = file;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) throw ToolError(describe(file, std::string("cannot create: ") + std::strerror(errno)));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(partial, ec);
      throw ToolError(describe(file, "write failed"));
    }
  }
  fs::rename(partial, file, ec);
  if (ec) {
    fs::remove(partial, ec);
    throw ToolError(describe(file, "cannot replace: " + ec.message()));
  }
}

}  // namespace vellum::pack
