// The decoded-picture cache: pictures keyed by the CRC-64 of their file name, kept within a byte
// limit (the CacheMaxSize setting) and evicted least recently used first. Sprite loading and rule
// transitions read their pictures through loadPicture; the look-ahead pass fills the cache ahead of
// the script. The pass may run on the transition's worker while the main thread draws, so the cache
// is guarded by one lock.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "image/image.h"

namespace vellum {

uint64_t pictureKey(std::string_view name);

// Decodes the named game file, or hands out a copy of its cached picture. The caller owns the
// result. With `useCache` a freshly decoded picture is also kept. nullptr after the script error
// "<name> 不能读入" (or "<name> 不能从缓存中读入" when the copy cannot be made).
Image* loadPicture(std::string_view name, bool useCache = true);

// Takes the picture (decoded elsewhere) into the cache under `key`, evicting least recently used
// pictures while the total is over the limit. Frees it when the cache is off.
void storeCachedPicture(uint64_t key, Image* picture);

// Whether `key` is cached; a hit counts as a use.
bool touchCachedPicture(uint64_t key);

// Drops the picture of `key` when the cache holds it.
void forgetCachedPicture(uint64_t key);

// Drops every picture whose key is not in `keep`.
void keepOnlyCachedPictures(const std::unordered_set<uint64_t>& keep);

void clearPictureCache();                  // cacheClear
void resetPictureCache();                  // clear, and forget the counters

// The limit in bytes is the CacheMaxSize setting, read on every use; 0 turns the cache off (and
// frees what it held).
bool pictureCacheEnabled();

struct PictureCacheFigures {
  size_t pictures = 0;
  uint64_t bytes = 0;
  uint64_t decodes = 0;   // pictures loadPicture had to decode from their file
  uint64_t hits = 0;      // pictures loadPicture copied from the cache
};
PictureCacheFigures pictureCacheFigures();

}  // namespace vellum
