// The decoded-picture cache: pictures keyed by the CRC-64 of their file name, kept within a byte
// limit (the CacheMaxSize setting) and evicted least recently used first. Sprite loading and rule
// transitions read their pictures through loadPicture; the look-ahead pass fills the cache ahead of
// the script. The pass may run on the transition's worker while the main thread draws, so the cache
// is guarded by one lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "image/image.h"

namespace vellum {

uint64_t pictureKey(std::string_view name);

// High-resolution variants: a picture "a/b.png" may come with "z/a/b.png" holding the same picture
// at twice the size of the base screen. They are used while the render scale is above 1.
constexpr int32_t kHighResolutionFactor = 2;
std::string highResolutionName(std::string_view name);
bool highResolutionActive();  // the render scale is above 1

// How a loaded picture's size relates to the base screen.
enum PictureScaleKind : int32_t { kScaleNormal = 0, kScaleRenderPixels = 1, kScaleHighResolution = 2 };

// A length in a picture's pixels as base-screen pixels: a high-resolution variant's scaled down by
// its factor (rounded to nearest).
int32_t baseScreenLength(int32_t length, int32_t scaleKind);

// `name`, or its high-resolution variant when `highResolution` is asked for, the render scale is
// above 1 and the variant exists. `scaleKind` (optional) tells which was chosen.
std::string resolvePictureName(std::string_view name, bool highResolution, int32_t* scaleKind = nullptr);

// Decodes the named game file, or hands out a copy of its cached picture. The caller owns the
// result. With `useCache` a freshly decoded picture is also kept. With `highResolution` the name
// is first resolved as above (the cache key is the resolved name's) and `scaleKind` tells whether
// the variant was taken. nullptr after the script error "<name> 不能读入" (or
// "<name> 不能从缓存中读入" when the copy cannot be made).
Image* loadPicture(std::string_view name, bool useCache = true, bool highResolution = false,
                   int32_t* scaleKind = nullptr);

// A decoded picture held by the cache and by the sprites that show it together. Nobody writes
// into it: a holder that needs to change the pixels takes its own copy first.
using SharedPicture = std::shared_ptr<Image>;

// loadPicture with the cache, handing out the cached picture itself instead of a copy; a decoded
// picture is kept as loadPicture keeps it. Null after the same script error.
SharedPicture sharePicture(std::string_view name, bool highResolution = false, int32_t* scaleKind = nullptr);

// While one lives, every picture loadPicture decodes is kept until the last one ends, also when the
// cache is off or too small to hold them all: a save that shows one file in many sprites decodes it
// once per load. Main thread only.
class PictureBatch {
 public:
  PictureBatch();
  ~PictureBatch();
  PictureBatch(const PictureBatch&) = delete;
  PictureBatch& operator=(const PictureBatch&) = delete;
};

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
