// Small helpers for the C streams the loaders hand around.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace vellum {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Length of an open regular file. False for anything else: a folder opens with "rb" on Linux but
// cannot be read, and a device has no length to trust.
inline bool regularFileSize(FILE* f, uint64_t& size) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = static_cast<uint64_t>(st.st_size);
  return true;
}

}  // namespace vellum
