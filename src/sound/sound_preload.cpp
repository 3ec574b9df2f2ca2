#include "sound/sound_preload.h"

#include <deque>
#include <mutex>
#include <utility>

#include "storage/aligned_memory.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

struct Entry {
  uint64_t key = 0;
  std::vector<uint8_t> data;
};

struct PreloadCache {
  std::mutex mutex;
  std::deque<Entry> entries;  // oldest first
  uint64_t bytes = 0;
};

PreloadCache& cache() {
  static PreloadCache c;
  return c;
}

// Lock held.
void eraseAt(PreloadCache& c, std::deque<Entry>::iterator it) {
  c.bytes -= it->data.size();
  c.entries.erase(it);
}

// Lock held.
std::deque<Entry>::iterator find(PreloadCache& c, uint64_t key) {
  for (auto it = c.entries.begin(); it != c.entries.end(); ++it)
    if (it->key == key) return it;
  return c.entries.end();
}

}  // namespace

bool preloadSound(std::string_view name) {
  uint8_t* buffer = nullptr;
  uint32_t size = 0, capacity = 0;
  const bool read = loadFile(name, buffer, size, capacity);
  std::vector<uint8_t> data;
  if (read) data.assign(buffer, buffer + size);
  freeAligned(buffer);
  if (!read || data.size() > kPreloadMaxBytes) return false;

  PreloadCache& c = cache();
  std::lock_guard lock(c.mutex);
  const uint64_t key = crc64Of(name);
  if (auto it = find(c, key); it != c.entries.end()) eraseAt(c, it);
  while (!c.entries.empty() && (c.entries.size() >= kPreloadMaxEntries || c.bytes + data.size() > kPreloadMaxBytes))
    eraseAt(c, c.entries.begin());
  c.bytes += data.size();
  c.entries.push_back(Entry{key, std::move(data)});
  return true;
}

std::optional<std::vector<uint8_t>> takePreloadedSound(uint64_t key) {
  PreloadCache& c = cache();
  std::lock_guard lock(c.mutex);
  auto it = find(c, key);
  if (it == c.entries.end()) return std::nullopt;
  std::vector<uint8_t> data = std::move(it->data);
  it->data.clear();
  c.bytes -= data.size();
  c.entries.erase(it);
  return data;
}

void dropPreloadedSound(uint64_t key) {
  PreloadCache& c = cache();
  std::lock_guard lock(c.mutex);
  if (auto it = find(c, key); it != c.entries.end()) eraseAt(c, it);
}

void clearPreloadedSounds() {
  PreloadCache& c = cache();
  std::lock_guard lock(c.mutex);
  c.entries.clear();
  c.bytes = 0;
}

size_t preloadedSoundCount() {
  std::lock_guard lock(cache().mutex);
  return cache().entries.size();
}

uint64_t preloadedSoundBytes() {
  std::lock_guard lock(cache().mutex);
  return cache().bytes;
}

}  // namespace vellum
