#include "scene/sprite_textures.h"

#include <algorithm>

#include "base/report.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "render/texture_reuse.h"
#include "scene/scene_messages.h"

namespace vellum {

namespace {

int32_t powerOfTwoAtLeast(int32_t v) {
  int32_t p = 1;
  while (p < v && p < (1 << 30)) p <<= 1;
  return p;
}

int32_t effectiveTextureMax() {
  const DeviceCaps& c = renderer().caps;
  if (c.textureMax > 0) return c.textureMax;
  return c.deviceMaxWidth > 0 ? static_cast<int32_t>(c.deviceMaxWidth) : 4096;
}

struct Tiling {
  int32_t limitW = 0, limitH = 0;
  int32_t columns = 1, rows = 1;
};

Tiling tilingFor(int32_t w, int32_t h, int32_t cellColumns, int32_t cellRows) {
  const DeviceCaps& c = renderer().caps;
  const int32_t max = effectiveTextureMax();
  Tiling t;
  t.limitW = max;
  t.limitH = max;
  // Several cells in a direction: a picture wider than the limit may use the device's whole width
  // so that cells are not cut across textures.
  if (cellColumns > 1 && w > max && c.deviceMaxWidth > 0) t.limitW = static_cast<int32_t>(c.deviceMaxWidth);
  if (cellRows > 1 && h > max && c.deviceMaxHeight > 0) t.limitH = static_cast<int32_t>(c.deviceMaxHeight);
  int32_t p2w = powerOfTwoAtLeast(w), p2h = powerOfTwoAtLeast(h);
  if (c.square) p2w = p2h = std::max(p2w, p2h);
  t.columns = t.limitW < p2w ? (w + t.limitW - 1) / t.limitW : 1;
  t.rows = t.limitH < p2h ? (h + t.limitH - 1) / t.limitH : 1;
  return t;
}

void releaseTiles(std::vector<SpriteTile>& tiles) {
  for (SpriteTile& t : tiles) {
    recycleTexture(t.texture);
    recycleTexture(t.mask);
  }
  tiles.clear();
}

bool uploadTile(const SpriteTile& t, const Image& image, bool single) {
  if (single)
    return writeTexture2(t.texture, image.pixels, 0, image.width, image.height, t.textureW, t.textureH);
  return writeTexture3(t.texture, image.pixels, 0, image.width, image.height, t.textureW, t.textureH, t.sourceX,
                       t.sourceY);
}

// Builds the tiles' textures; false (all released) when one cannot be made or filled.
bool makeTiles(const Image& image, const Tiling& tiling, int32_t levels, std::vector<SpriteTile>& tiles) {
  const bool single = tiling.columns == 1 && tiling.rows == 1;
  for (int32_t r = 0; r < tiling.rows; ++r) {
    for (int32_t c = 0; c < tiling.columns; ++c) {
      SpriteTile t;
      t.sourceX = c * tiling.limitW;
      t.sourceY = r * tiling.limitH;
      t.sourceW = single ? image.width : std::min(tiling.limitW, image.width - t.sourceX);
      t.sourceH = single ? image.height : std::min(tiling.limitH, image.height - t.sourceY);
      if (single) {
        textureSizeFor(image.width, image.height, t.textureW, t.textureH);
      } else {
        t.textureW = c + 1 < tiling.columns ? tiling.limitW : powerOfTwoAtLeast(t.sourceW);
        t.textureH = r + 1 < tiling.rows ? tiling.limitH : powerOfTwoAtLeast(t.sourceH);
      }
      t.texture = createTexture(t.textureW, t.textureH, levels);
      tiles.push_back(t);
      if (!t.texture || !uploadTile(t, image, single)) {
        releaseTiles(tiles);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

void textureSizeFor(int32_t width, int32_t height, int32_t& textureW, int32_t& textureH) {
  const DeviceCaps& c = renderer().caps;
  if (c.pow2) {
    textureW = powerOfTwoAtLeast(width);
    textureH = powerOfTwoAtLeast(height);
  } else {
    textureW = (width + 1) & ~1;
    textureH = (height + 1) & ~1;
  }
  if (c.square) textureW = textureH = std::max(textureW, textureH);
}

namespace {

// buildPicture for pixels either owned (`shared` null) or shared with the picture cache.
BuildResult buildFrom(Image* image, SharedPicture shared, int32_t division, uint32_t flags, SpritePicture& current,
                      SpritePicture& out) {
  if (!image) return BuildResult::Failed;
  const int32_t cellColumns = ((division >> 4) & 15) + 1, cellRows = (division & 15) + 1;
  const int32_t cellW = image->width / cellColumns, cellH = image->height / cellRows;
  if (cellW <= 0 || cellH <= 0) {
    errorc(ReportText(scene_messages::kDivisionOver, CodePage::Gbk).number(cellColumns).ascii(",").number(cellRows),
           true);
    return BuildResult::Failed;
  }
  const auto finish = [&](SpritePicture& p) {
    p.width = image->width;
    p.height = image->height;
    p.division = division & 0xFF;
    p.cellW = cellW;
    p.cellH = cellH;
    p.left = image->left;
    p.top = image->top;
    p.unitW = p.tiles.front().textureW;
    p.unitH = p.tiles.front().textureH;
  };

  // Same size as the picture already there: new pixels into the old textures.
  if (current.present() && current.pixels && !current.targetSurface && current.width == image->width &&
      current.height == image->height) {
    const bool single = current.tiles.size() == 1;
    for (const SpriteTile& t : current.tiles)
      if (!uploadTile(t, *image, single)) return BuildResult::Failed;
    releasePixels(current);
    current.pixels = image;
    current.sharedPixels = std::move(shared);
    current.masked = false;
    finish(current);
    return BuildResult::Reused;
  }

  const Tiling tiling = tilingFor(image->width, image->height, cellColumns, cellRows);
  if (tiling.columns * tiling.rows > kMaxSpriteTiles) {
    errorc(ReportText(scene_messages::kSizeOver, CodePage::Gbk).number(tiling.columns).ascii(",").number(tiling.rows),
           true);
    return BuildResult::Failed;
  }
  SpritePicture p;
  p.columns = tiling.columns;
  p.rows = tiling.rows;
  p.levels = (renderer().caps.mipMap && (flags & 0x40)) ? 2 : 1;
  if (!makeTiles(*image, tiling, p.levels, p.tiles)) return BuildResult::Failed;
  p.pixels = image;
  p.sharedPixels = std::move(shared);
  finish(p);
  out = std::move(p);
  return BuildResult::Fresh;
}

}  // namespace

BuildResult buildPicture(Image* image, int32_t division, uint32_t flags, SpritePicture& current, SpritePicture& out) {
  return buildFrom(image, nullptr, division, flags, current, out);
}

BuildResult buildSharedPicture(const SharedPicture& image, int32_t division, uint32_t flags, SpritePicture& current,
                               SpritePicture& out) {
  return buildFrom(image.get(), image, division, flags, current, out);
}

bool uploadPicturePixels(SpritePicture& picture) {
  if (!picture.present() || !picture.pixels || picture.targetSurface) return false;
  const bool single = picture.tiles.size() == 1;
  for (const SpriteTile& t : picture.tiles)
    if (!uploadTile(t, *picture.pixels, single)) return false;
  picture.masked = false;
  return true;
}

bool buildCanvas(int32_t width, int32_t height, SpritePicture& out) {
  if (width <= 0 || height <= 0 || width > effectiveTextureMax() || height > effectiveTextureMax()) {
    errorc(ReportText(scene_messages::kCanvasSize, CodePage::Gbk).number(width).ascii(",").number(height), true);
    return false;
  }
  SpriteTile t;
  textureSizeFor(width, height, t.textureW, t.textureH);
  t.sourceW = width;
  t.sourceH = height;
  SpritePicture p;
  if (!createRenderTargetTexture(t.textureW, t.textureH, &t.texture, &p.targetSurface)) return false;
  p.tiles.push_back(t);
  p.columns = p.rows = 1;
  p.canvas = true;
  p.width = p.cellW = width;
  p.height = p.cellH = height;
  p.unitW = t.textureW;
  p.unitH = t.textureH;
  out = std::move(p);
  return true;
}

void releaseCanvasTargets() {
  for (Sprite& s : spriteTable().sprites)
    for (SpriteImage& b : s.buffers)
      if (b.picture.targetSurface) {
        releaseObject(b.picture.targetSurface);
        releaseObject(b.picture.tiles.front().texture);
        b.picture.targetSurface = nullptr;
      }
}

void recreateCanvasTargets() {
  for (Sprite& s : spriteTable().sprites)
    for (SpriteImage& b : s.buffers) {
      SpritePicture& p = b.picture;
      if (p.canvas && !p.tiles.front().texture) {
        SpriteTile& t = p.tiles.front();
        createRenderTargetTexture(t.textureW, t.textureH, &t.texture, &p.targetSurface);
      }
    }
}

}  // namespace vellum
