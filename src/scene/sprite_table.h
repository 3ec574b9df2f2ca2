// The 1000-entry sprite table: per number one definition (what was loaded and what waits for the
// next commit) and two picture buffers, the front one shown and the back one being prepared; and
// the layer lists that order the sprites under each parent.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/gpu/gpu.h"
#include "scene/picture_cache.h"

namespace vellum {

constexpr int kSpriteCount = 1000;
constexpr int kMaxSpriteTiles = 64;

namespace pending {
constexpr uint32_t kProperties = 0x001;  // drawing properties changed
constexpr uint32_t kNewPicture = 0x010;  // a picture waits in the back buffer, the front is empty
constexpr uint32_t kReplace = 0x020;     // the back buffer's picture replaces the front's
constexpr uint32_t kLive = 0x040;        // property commands write both buffers
constexpr uint32_t kDelete = 0x100;      // delete at the next commit
}  // namespace pending

// What a sprite's picture was made from.
enum class SourceKind : uint8_t { Picture = 0, Standing = 1, Kept = 2, Canvas = 4, Composed = 8 };

// One corner of a tile quad: position, colour and two texture-coordinate sets (32 bytes).
struct SpriteVertex {
  float x, y, z;
  uint32_t colour;
  float u0, v0, u1, v1;
};
static_assert(sizeof(SpriteVertex) == 32);

// How a buffer is drawn; a commit copies these from the back buffer into the front.
struct SpriteProperties {
  uint32_t flags = 0;     // the sp flags argument
  int32_t blend = 1;      // 0-8
  uint32_t colourOp = 0;  // texture operation on stage 1, 0 none
  uint32_t colour = 0;    // its factor, 0xAARRGGBB
  int32_t parent = 0;     // canvas sprite drawn into, 0 the screen
  int32_t maskSoftness = 0, maskProgress = 0, maskInvert = 0;
  int32_t alpha = 255;
  int32_t cell = 0;
  float x = 0, y = 0, scaleW = 1, scaleH = 1;
  float rotX = 0, rotY = 0, rotZ = 0;  // degrees; z negated
  int32_t anchorX = 1, anchorY = 1;    // 0 left/top, 1 centre, 2 right/bottom
};

// One texture of a picture cut into tiles, with the part of the picture it holds.
struct SpriteTile {
  gpu::Texture* texture = nullptr;
  gpu::Texture* mask = nullptr;
  int32_t textureW = 0, textureH = 0;
  int32_t sourceX = 0, sourceY = 0, sourceW = 0, sourceH = 0;
};

// The loaded picture of a buffer: its tiles and the decoded pixels they were made from.
struct SpritePicture {
  std::vector<SpriteTile> tiles;
  gpu::Surface* targetSurface = nullptr;  // canvas sprites: level 0 of tile 0
  int32_t columns = 0, rows = 0;
  int32_t unitW = 0, unitH = 0;           // texture size of the first tile: two model units
  int32_t left = 0, top = 0;              // from the file's metadata
  int32_t width = 0, height = 0;
  int32_t division = 0;                   // low 4 bits rows - 1, next 4 bits columns - 1
  int32_t cellW = 0, cellH = 0;
  int32_t scaleKind = 0;                  // 0 base pixels, 1 render pixels, 2 high-resolution variant
  int32_t levels = 1;
  bool masked = false;
  bool canvas = false;                    // a render target other sprites draw into
  Image* pixels = nullptr;                // kept for re-uploads; canvases have none
  SharedPicture sharedPixels;             // set when pixels is the picture cache's own: never written

  bool present() const { return !tiles.empty(); }
  int32_t cellColumns() const { return ((division >> 4) & 15) + 1; }
  int32_t cellRows() const { return (division & 15) + 1; }
};

struct SpriteImage {
  SpriteProperties props;
  SpritePicture picture;
  // The matrices of the last draw, valid while not dirty and drawn on a target of the same size.
  std::array<float, 16> world{}, view{}, projection{};
  float matrixHalfW = 0, matrixHalfH = 0;
  bool dirty = true;
};

struct ShakeAxis {
  int32_t amplitude = 0, passes = 0, easing = 0, wave = 0;
  uint32_t start = 0, period = 0;
  float offset = 0;
};

struct Sprite {
  int32_t front = 0;
  uint32_t pending = 0;
  std::string sourceName;   // kept whole, as the script wrote it
  std::string secondName;   // mask file or second text
  SourceKind sourceKind = SourceKind::Picture;
  std::array<int32_t, 5> textParams{};
  int32_t order = 0;
  int32_t clipX = 0, clipY = 0, clipW = 0, clipH = 0;
  int32_t textState = 0;
  bool textDrawing = false;
  // Words drawn onto the picture (ssp_draw): what a button on the sprite is read aloud as. A new
  // picture starts without any.
  std::string label;
  bool crossFade = false;
  int32_t crossFadeProgress = 0;  // 1-256 while a picture cross-fade runs
  // While a cross-fade runs the source fields above describe the new picture; these describe the
  // one fading out (a save needs both to take the fade up again).
  std::string fadeFromName;
  SourceKind fadeFromKind = SourceKind::Picture;
  int32_t fadeFromW = 0, fadeFromH = 0;
  uint32_t animationBits = 0;
  std::array<int32_t, 12> trackSegments{};
  ShakeAxis shakeX, shakeY;
  int32_t maskX = 0, maskY = 0;
  int32_t standingW = 0, standingH = 0;  // the canvas size of sp_st, for reloads
  // Applied at every (re)load in this order; they survive deletion.
  std::array<int32_t, 8> loadEffects{};
  std::array<SpriteImage, 2> buffers;
  // Where the sprite is listed: its parent's list and its key there.
  bool listed = false;
  int32_t listParent = 0;
  int64_t listKey = 0;

  SpriteImage& frontImage() { return buffers[static_cast<size_t>(front & 1)]; }
  SpriteImage& backImage() { return buffers[static_cast<size_t>((front & 1) ^ 1)]; }
  bool inUse() const { return buffers[0].picture.present() || buffers[1].picture.present(); }
};

enum LoadEffect : int { kNegative = 0, kGreyscale, kRotate, kBrightness, kColour, kHsl, kBlur, kMosaic };

// A layer list: children in descending key order (order x 1024 + number), drawn first to last.
using LayerList = std::map<int64_t, int32_t, std::greater<int64_t>>;

struct SpriteTable {
  std::array<Sprite, kSpriteCount> sprites;
  std::map<int32_t, LayerList> lists;  // by parent number, 0 the screen
  // Whether the message window is shown (message-layer sprites are drawn only then).
  std::function<bool()> messageWindowShown;
  // Set while a transition draws the picture it ends with: sprites show their pending changes.
  bool afterPicture = false;
};

SpriteTable& spriteTable();
// Frees every picture and clears the table, then hands the renderer its drawing and commit calls.
void resetSprites();

// True for 0-999; otherwise reports the number and the command and returns false.
bool checkSpriteNumber(int32_t n);
Sprite& sprite(int32_t n);

int64_t layerKey(int32_t order, int32_t n);
void listSprite(int32_t n, int32_t parent);
bool unlistSprite(int32_t n);

// Frees a picture's textures and pixels.
void freePicture(SpritePicture& picture);

// Lets go of the picture's pixels: frees its own, drops its share of a cached picture.
void releasePixels(SpritePicture& picture);

// Gives the picture its own copy of pixels it shares, before they are written in place. False
// when memory runs out (the share is kept then).
bool ownPixels(SpritePicture& picture);

// The script error "n 画面没有读入".
void reportNoPicture(int32_t n);
// The script error "n オーダーが正しく設定されてません".
void reportNotListed(int32_t n);

}  // namespace vellum
