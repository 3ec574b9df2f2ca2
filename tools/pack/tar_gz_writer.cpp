#include "tar_gz_writer.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <set>

#include "tool_error.h"

namespace vellum::pack {

namespace {

constexpr size_t kBlock = 512;

// Every entry's time: SOURCE_DATE_EPOCH when set (reproducible bundles), else now.
uint64_t bundleTime() {
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) return std::strtoull(fixed, nullptr, 10);
  return static_cast<uint64_t>(std::time(nullptr));
}

void putOctal(uint8_t* field, size_t width, uint64_t value) {
  std::snprintf(reinterpret_cast<char*>(field), width, "%0*llo", static_cast<int>(width - 1),
                static_cast<unsigned long long>(value));
}

// Writes the header block of one entry; a path over 100 bytes is split into prefix and name.
void putHeader(std::vector<uint8_t>& tar, const std::string& path, uint64_t size, unsigned mode, char type) {
  uint8_t h[kBlock] = {};
  std::string prefix, name = path;
  if (name.size() > 100) {
    const size_t cut = path.rfind('/', 155);
    if (cut == std::string::npos || path.size() - cut - 1 > 100) throw ToolError(path + ": the path is too long for a tar file");
    prefix = path.substr(0, cut);
    name = path.substr(cut + 1);
  }
  std::memcpy(h, name.data(), name.size());
  putOctal(h + 100, 8, mode);
  putOctal(h + 108, 8, 0);  // owner and group: root, as unpacked by anyone
  putOctal(h + 116, 8, 0);
  putOctal(h + 124, 12, size);
  putOctal(h + 136, 12, bundleTime());
  h[156] = static_cast<uint8_t>(type);
  std::memcpy(h + 257, "ustar", 6);
  std::memcpy(h + 263, "00", 2);
  std::memcpy(h + 345, prefix.data(), prefix.size());
  std::memset(h + 148, ' ', 8);
  unsigned sum = 0;
  for (const uint8_t b : h) sum += b;
  std::snprintf(reinterpret_cast<char*>(h + 148), 8, "%06o", sum);
  tar.insert(tar.end(), h, h + kBlock);
}

std::vector<uint8_t> gzip(const std::vector<uint8_t>& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw ToolError("zlib could not start");
  std::vector<uint8_t> out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw ToolError("zlib could not compress the bundle");
  return out;
}

}  // namespace

std::vector<uint8_t> tarGz(const std::vector<BundleEntry>& entries) {
  std::vector<uint8_t> tar;
  std::set<std::string> folders;
  for (const BundleEntry& e : entries)
    for (size_t slash = e.path.find('/'); slash != std::string::npos; slash = e.path.find('/', slash + 1))
      folders.insert(e.path.substr(0, slash + 1));
  for (const std::string& folder : folders) putHeader(tar, folder, 0, 0755, '5');
  for (const BundleEntry& e : entries) {
    putHeader(tar, e.path, e.bytes.size(), e.executable ? 0755 : 0644, '0');
    tar.insert(tar.end(), e.bytes.begin(), e.bytes.end());
    tar.resize((tar.size() + kBlock - 1) / kBlock * kBlock, 0);
  }
  tar.resize(tar.size() + 2 * kBlock, 0);  // the end: two empty blocks
  return gzip(tar);
}

}  // namespace vellum::pack
