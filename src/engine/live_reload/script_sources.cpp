#include "engine/live_reload/script_sources.h"

#include <fstream>
#include <iterator>

#include "base/text_encoding.h"
#include "storage/hashes.h"

namespace vellum {

namespace fs = std::filesystem;

std::vector<ScriptSource> listScriptSources(const fs::path& root) {
  std::vector<ScriptSource> sources;
  std::error_code ec;
  const fs::path folder = root / "script";
  fs::recursive_directory_iterator it(folder, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string relative = "script/" + it->path().lexically_relative(folder).generic_string();
    ScriptSource source;
    source.gamePath = fromUtf8(relative, CodePage::Gbk);
    if (toUtf8(source.gamePath, CodePage::Gbk) != relative) continue;
    const auto modified = it->last_write_time(ec);
    const uintmax_t size = it->file_size(ec);
    if (ec) {
      ec.clear();
      continue;  // gone since it was listed
    }
    source.file = it->path();
    source.key = crc64Of(source.gamePath);
    source.signature = {static_cast<int64_t>(modified.time_since_epoch().count()), size};
    sources.push_back(std::move(source));
  }
  return sources;
}

bool readSourceBytes(const fs::path& file, std::vector<uint8_t>& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace vellum
