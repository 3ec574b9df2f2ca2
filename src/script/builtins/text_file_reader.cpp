#include "script/builtins/text_file_reader.h"

#include <cstdint>

#include "script/tokenizer.h"
#include "storage/archive_format.h"
#include "storage/file_handle.h"
#include "storage/file_loader.h"
#include "storage/storage_messages.h"

namespace vellum {

bool readTextFile(std::string_view path, std::string& bytes) {
  uint32_t size = 0;
  uint64_t key = 0;
  FileHandle file(openFile(path, size, key));
  if (!file) return false;
  if (size > kMaxLoadSize) {
    reportOverLoadLimit(path, size, kMaxLoadSize);
    return false;
  }
  std::string data(size, '\0');
  const size_t got = size ? std::fread(data.data(), 1, size, file.get()) : 0;
  file.reset();
  if (got != size) {
    reportShortRead(path, got, size);
    return false;
  }
  if (key != 0) {
    const auto entry = storage().archives.find(key);
    if (entry != storage().archives.end() && entry->second.flags != 0) {
      scrambleWithPath(reinterpret_cast<uint8_t*>(data.data()), data.size(), path);
    }
  }
  bytes.swap(data);
  return true;
}

bool readScriptSource(std::string_view path, std::string& text) {
  std::string source;
  if (!readTextFile(path, source)) return false;
  text.clear();
  splitLines(source, [&text](std::string_view line, int) {
    text.append(line);
    text += '\n';
  });
  return true;
}

}  // namespace vellum
