#include "storage/text_file.h"

#include <cstdio>
#include <cstring>

#include "storage/archive_format.h"
#include "storage/file_loader.h"

namespace vellum {

bool readTextFile(std::string_view path, std::string& text) {
  uint32_t size = 0;
  uint64_t key = 0;
  FILE* file = openFile(path, size, key);
  if (!file) return false;
  text.resize(size);
  const size_t read = size ? std::fread(text.data(), 1, size, file) : 0;
  std::fclose(file);
  text.resize(read);
  const auto entry = key ? storage().archives.find(key) : storage().archives.end();
  if (entry != storage().archives.end() && entry->second.flags != 0 && !(entry->second.flags & kArchiveCompressed)) {
    scrambleWithPath(reinterpret_cast<uint8_t*>(text.data()), text.size(), path);
  }
  return true;
}

}  // namespace vellum
