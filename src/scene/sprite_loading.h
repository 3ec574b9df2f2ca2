// Loading a sprite's picture: the file through the archive layer and the codecs (with the "?" mask
// part), the clip rectangle, the load effects, and the textures of the back buffer; and canvases.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "image/image.h"

namespace vellum {

// Where a picture comes from: the picture cache (decoded only when it does not hold it), or the
// file itself (sp_reload: the file may have changed since it was cached).
enum class PictureSource { Cached, File };

// A decoded picture of a game file, or nullptr after the script error "<name> 不能读入". Every
// sprite picture is read through here. With `highResolution` the file's high-resolution variant is
// taken when the render scale is above 1 and it exists; `scaleKind` (optional) tells which.
Image* loadSpritePictureFile(std::string_view name, PictureSource source = PictureSource::Cached,
                             bool highResolution = false, int32_t* scaleKind = nullptr);

// Pictures of sprites loaded with flag bit 2 clear look for their high-resolution variant.
constexpr uint32_t kNoHighResolutionFlag = 0x4;
inline bool wantsHighResolution(uint32_t flags) { return (flags & kNoHighResolutionFlag) == 0; }

struct ClipRect {
  int32_t x = 0, y = 0, width = 0, height = 0;  // width or height 0: none; x -1 centres
};

// sp, sp_cut, sp_reload: loads `file` into sprite n's back buffer. False after a report; the
// sprite keeps its previous state then.
bool loadSprite(int32_t n, const std::string& file, uint32_t flags, int32_t division, const ClipRect& clip,
                PictureSource source = PictureSource::Cached);

// Puts a decoded picture (owned from here on, freed on failure) into sprite n's back buffer;
// `scaleKind` says how its size relates to the base screen (0 normal, 2 high-resolution variant).
bool loadSpriteImage(int32_t n, Image* image, uint32_t flags, int32_t division, int32_t scaleKind = 0);

// spg: an empty canvas of width x height. False after a report.
bool makeCanvasSprite(int32_t n, int32_t width, int32_t height, uint32_t flags);

// Applies the eight load effects in their order.
bool applyLoadEffects(Image*& image, const std::array<int32_t, 8>& effects);

}  // namespace vellum
