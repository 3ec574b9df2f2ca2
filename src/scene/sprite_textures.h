// Turning a decoded picture into a sprite's textures: cell sizes from the division code, tiling
// under the device's size rules, and uploads; and empty canvases that other sprites draw into.
#pragma once

#include "scene/sprite_table.h"

namespace vellum {

// Cuts `image` into tiles. When `current` already holds a picture of the same size, the pixels
// are uploaded into its textures and it becomes the result (no new textures). Otherwise new tiles
// go into `out`. Takes ownership of `image` on success. False after a script error; nothing
// changed then, and `image` still belongs to the caller.
enum class BuildResult { Failed, Fresh, Reused };
BuildResult buildPicture(Image* image, int32_t division, uint32_t flags, SpritePicture& current, SpritePicture& out);
// The same for a picture shared with the picture cache: the result holds a share, not a copy.
BuildResult buildSharedPicture(const SharedPicture& image, int32_t division, uint32_t flags, SpritePicture& current,
                               SpritePicture& out);

// Uploads the picture's own pixels again into its textures, after they were rewritten in place
// (a movie frame). False after a report.
bool uploadPicturePixels(SpritePicture& picture);

// An empty, transparent canvas of width x height. False after a report.
bool buildCanvas(int32_t width, int32_t height, SpritePicture& out);

// The texture size of a one-tile picture under the device's rules.
void textureSizeFor(int32_t width, int32_t height, int32_t& textureW, int32_t& textureH);

// Releases and re-creates the render targets of canvas sprites around a device reset.
void releaseCanvasTargets();
void recreateCanvasTargets();

}  // namespace vellum
