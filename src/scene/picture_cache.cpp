#include "scene/picture_cache.h"

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "base/report.h"
#include "image/image_io.h"
#include "image/ops/output_image.h"
#include "persist/engine_settings.h"
#include "scene/scene_messages.h"
#include "shell/display/screen_geometry.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

struct CachedPicture {
  SharedPicture picture;
  uint64_t stamp = 0;
  uint64_t bytes = 0;
};

struct PictureCache {
  std::mutex lock;
  std::unordered_map<uint64_t, CachedPicture> entries;
  std::map<uint64_t, uint64_t> byUse;  // use stamp -> key, least recently used first
  uint64_t nextStamp = 0;
  uint64_t bytes = 0;
  uint64_t decodes = 0, hits = 0;
  // Pictures kept while a PictureBatch lives (also with the cache off), freed when the last ends.
  std::unordered_map<uint64_t, SharedPicture> batch;
  int batchDepth = 0;
};

PictureCache& cache() {
  static PictureCache c;
  return c;
}

uint64_t byteSizeOf(const Image& picture) {
  return static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(picture.height) * 4u;
}

uint64_t limitBytes() { return settings().cacheMaxSize > 0 ? static_cast<uint64_t>(settings().cacheMaxSize) : 0; }

// The helpers below expect the lock to be held.
void touch(PictureCache& c, CachedPicture& entry, uint64_t key) {
  c.byUse.erase(entry.stamp);
  entry.stamp = c.nextStamp++;
  c.byUse.emplace(entry.stamp, key);
}

void drop(PictureCache& c, std::unordered_map<uint64_t, CachedPicture>::iterator it) {
  c.byUse.erase(it->second.stamp);
  c.bytes -= it->second.bytes;
  c.entries.erase(it);
}

void dropAll(PictureCache& c) {
  c.entries.clear();
  c.byUse.clear();
  c.bytes = 0;
}

void store(PictureCache& c, uint64_t key, SharedPicture picture) {
  if (auto old = c.entries.find(key); old != c.entries.end()) drop(c, old);
  const uint64_t size = byteSizeOf(*picture);
  // Room for the newcomer; a picture larger than the whole limit empties the cache and is itself
  // the first to go at the next store.
  const uint64_t limit = limitBytes();
  while (!c.byUse.empty() && c.bytes + size > limit) drop(c, c.entries.find(c.byUse.begin()->second));
  CachedPicture& entry = c.entries[key];
  entry.picture = std::move(picture);
  entry.bytes = size;
  entry.stamp = c.nextStamp++;
  c.byUse.emplace(entry.stamp, key);
  c.bytes += size;
}

// A cache switched off frees what it collected while it was on.
bool enabledLocked(PictureCache& c) {
  if (limitBytes() > 0) return true;
  if (!c.entries.empty()) dropAll(c);
  return false;
}

Image* decodeFile(std::string_view name) {
  uint8_t*& buffer = storage().scratch;
  uint32_t& capacity = storage().scratchCapacity;
  uint32_t size = 0;
  if (name.empty() || !loadFile(name, buffer, size, capacity)) return nullptr;
  return loadImage(buffer, size);
}

}  // namespace

uint64_t pictureKey(std::string_view name) { return crc64Of(name); }

int32_t baseScreenLength(int32_t length, int32_t scaleKind) {
  if (scaleKind != kScaleHighResolution) return length;
  return static_cast<int32_t>(std::lround(static_cast<double>(length) / kHighResolutionFactor));
}

std::string highResolutionName(std::string_view name) { return "z/" + std::string(name); }

bool highResolutionActive() { return screenGeometry().scale > 1.0f; }

std::string resolvePictureName(std::string_view name, bool highResolution, int32_t* scaleKind) {
  if (scaleKind) *scaleKind = kScaleNormal;
  if (highResolution && !name.empty() && highResolutionActive()) {
    std::string variant = highResolutionName(name);
    if (storedFileExists(variant)) {
      if (scaleKind) *scaleKind = kScaleHighResolution;
      return variant;
    }
  }
  return std::string(name);
}

namespace {

SharedPicture keepPicture(Image* picture) { return SharedPicture(picture, [](Image* p) { freeImage(p); }); }

// The cached picture of `key` (a hit counts), or null.
SharedPicture cachedPicture(PictureCache& c, uint64_t key) {
  std::lock_guard<std::mutex> hold(c.lock);
  if (enabledLocked(c)) {
    if (auto it = c.entries.find(key); it != c.entries.end()) {
      touch(c, it->second, key);
      ++c.hits;
      return it->second.picture;
    }
  }
  if (c.batchDepth > 0) {
    if (auto it = c.batch.find(key); it != c.batch.end()) {
      ++c.hits;
      return it->second;
    }
  }
  return nullptr;
}

// Keeps a freshly decoded picture where the cache and a running batch want it (the lock held).
void keepDecoded(PictureCache& c, uint64_t key, const SharedPicture& picture) {
  ++c.decodes;
  if (enabledLocked(c)) store(c, key, picture);
  if (c.batchDepth > 0 && c.batch.count(key) == 0) c.batch.emplace(key, picture);
}

bool wantsDecoded(PictureCache& c, uint64_t key) {
  return enabledLocked(c) || (c.batchDepth > 0 && c.batch.count(key) == 0);
}

Image* decodeOrReport(std::string_view name) {
  Image* picture = decodeFile(name);
  if (!picture) errorc(ReportText().gbk(name).gbk(scene_messages::kCannotLoad), true);
  return picture;
}

}  // namespace

Image* loadPicture(std::string_view requested, bool useCache, bool highResolution, int32_t* scaleKind) {
  PictureCache& c = cache();
  const std::string resolved = resolvePictureName(requested, highResolution, scaleKind);
  const std::string_view name = resolved;
  const uint64_t key = pictureKey(name);
  if (useCache) {
    if (const SharedPicture hit = cachedPicture(c, key)) {
      Image* copy = duplicateImage(hit.get());
      if (!copy) errorc(ReportText().gbk(name).gbk(scene_messages::kCannotCopyFromCache), true);
      return copy;
    }
  }
  Image* picture = decodeOrReport(name);
  if (!picture) return nullptr;
  std::lock_guard<std::mutex> hold(c.lock);
  // The caller owns what it gets; the cache and a batch share one copy.
  if (const SharedPicture kept = useCache && wantsDecoded(c, key) ? keepPicture(duplicateImage(picture)) : nullptr)
    keepDecoded(c, key, kept);
  else
    ++c.decodes;
  return picture;
}

SharedPicture sharePicture(std::string_view requested, bool highResolution, int32_t* scaleKind) {
  PictureCache& c = cache();
  const std::string resolved = resolvePictureName(requested, highResolution, scaleKind);
  const uint64_t key = pictureKey(resolved);
  if (SharedPicture hit = cachedPicture(c, key)) return hit;
  SharedPicture picture = keepPicture(decodeOrReport(resolved));
  if (!picture) return nullptr;
  std::lock_guard<std::mutex> hold(c.lock);
  keepDecoded(c, key, picture);
  return picture;
}

PictureBatch::PictureBatch() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  ++c.batchDepth;
}

PictureBatch::~PictureBatch() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  if (--c.batchDepth > 0) return;
  c.batch.clear();
}

void storeCachedPicture(uint64_t key, Image* picture) {
  if (!picture) return;
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  if (enabledLocked(c)) {
    store(c, key, keepPicture(picture));
  } else {
    freeImage(picture);
  }
}

bool touchCachedPicture(uint64_t key) {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  auto it = c.entries.find(key);
  if (it == c.entries.end()) return false;
  touch(c, it->second, key);
  return true;
}

void forgetCachedPicture(uint64_t key) {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  if (auto it = c.entries.find(key); it != c.entries.end()) drop(c, it);
  if (auto it = c.batch.find(key); it != c.batch.end()) c.batch.erase(it);
}

void keepOnlyCachedPictures(const std::unordered_set<uint64_t>& keep) {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  for (auto it = c.entries.begin(); it != c.entries.end();) {
    auto next = std::next(it);
    if (!keep.count(it->first)) drop(c, it);
    it = next;
  }
}

void clearPictureCache() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  dropAll(c);
}

void resetPictureCache() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  dropAll(c);
  c.nextStamp = 0;
  c.decodes = c.hits = 0;
}

bool pictureCacheEnabled() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  return enabledLocked(c);
}

PictureCacheFigures pictureCacheFigures() {
  PictureCache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  return {c.entries.size(), c.bytes, c.decodes, c.hits};
}

}  // namespace vellum
