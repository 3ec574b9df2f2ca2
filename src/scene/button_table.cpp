#include "scene/button_table.h"

#include <cmath>
#include <vector>

#include "scene/picture_cache.h"
#include "scene/sprite_table.h"
#include "shell/input/input_buttons.h"
#include "shell/shell_hooks.h"

namespace vellum {

namespace {

struct ButtonView {
  std::vector<InputButton> buttons;  // indexed buttons in key order
  bool stale = true;
};

ButtonView& view() {
  static ButtonView v;
  return v;
}

ButtonEntry& entry(int32_t id) { return buttonTable().entries[static_cast<size_t>(id)]; }

// The picture the sprite shows after the next commit: a waiting new picture, else the front's.
const SpritePicture& nextShownPicture(Sprite& s) {
  const uint32_t waiting = s.pending & (pending::kNewPicture | pending::kReplace);
  if (waiting && s.backImage().picture.present()) return s.backImage().picture;
  return s.frontImage().picture;
}

// The canvas's top-left corner in its parent's pixels, for sprites drawn into a canvas.
void addCanvasCorner(int32_t parent, int32_t& x, int32_t& y) {
  if (parent <= 0 || parent >= kSpriteCount) return;
  Sprite& p = sprite(parent);
  const SpriteProperties& pp = p.backImage().props;
  const SpritePicture& pic = nextShownPicture(p);
  x += static_cast<int32_t>(pp.x) - ((pp.anchorX * baseScreenLength(pic.cellW, pic.scaleKind)) >> 1);
  y += static_cast<int32_t>(pp.y) - ((pp.anchorY * baseScreenLength(pic.cellH, pic.scaleKind)) >> 1);
}

// The rectangle and target point of a sprite button from the sprite's newest state.
void computeSpriteRect(ButtonEntry& b, Sprite& s) {
  const SpriteProperties& p = s.backImage().props;
  const SpritePicture& pic = nextShownPicture(s);
  int32_t x = static_cast<int32_t>(p.x), y = static_cast<int32_t>(p.y);
  const int32_t w = baseScreenLength(pic.cellW, pic.scaleKind), h = baseScreenLength(pic.cellH, pic.scaleKind);
  addCanvasCorner(p.parent, x, y);
  b.left = x - ((w * p.anchorX) >> 1);
  b.right = b.left + w;
  b.targetX = b.left + (w >> 1);
  b.top = y - ((h * p.anchorY) >> 1);
  b.bottom = b.top + h;
  b.targetY = b.top + (h >> 1);
}

const std::vector<InputButton>& indexedButtons() {
  ButtonView& v = view();
  if (v.stale) {
    v.buttons.clear();
    for (const auto& [key, id] : buttonTable().index) {
      const ButtonEntry& e = entry(id);
      InputButton b;
      b.id = e.id;
      b.alphaThreshold = e.alphaThreshold;
      b.directions = e.directions;
      b.sprite = e.sprite;
      b.left = e.left;
      b.top = e.top;
      b.right = e.right;
      b.bottom = e.bottom;
      b.targetX = e.targetX;
      b.targetY = e.targetY;
      b.tooltip = e.tooltip;
      v.buttons.push_back(std::move(b));
    }
    v.stale = false;
  }
  return v.buttons;
}

// A sprite may be hovered while it exists and is drawn: message-layer sprites only while the
// message window is shown.
bool spriteHoverable(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return false;
  Sprite& s = sprite(n);
  if (!s.frontImage().picture.present()) return false;
  if (!(s.frontImage().props.flags & 1)) return true;
  const auto& shown = spriteTable().messageWindowShown;
  return !shown || shown();
}

// The alpha of the sprite's picture under a game position; -1 outside the picture.
int32_t spriteAlphaAt(int32_t n, int32_t x, int32_t y) {
  const int32_t id = buttonOfSprite(n);
  if (id < 0) return -1;
  const ButtonEntry& b = entry(id);
  const SpritePicture& pic = sprite(n).frontImage().picture;
  const Image* image = pic.pixels;
  if (!image) return -1;
  int64_t px = static_cast<int64_t>(x) - b.left, py = static_cast<int64_t>(y) - b.top;
  if (pic.scaleKind == kScaleHighResolution) {
    px *= kHighResolutionFactor;
    py *= kHighResolutionFactor;
  }
  if (px < 0 || py < 0 || px >= image->width || py >= image->height) return -1;
  return static_cast<int32_t>(image->pixels[py * image->width + px] >> 24);
}

}  // namespace

ButtonTable& buttonTable() {
  static ButtonTable table;
  return table;
}

void buttonsChanged() { view().stale = true; }

void resetButtons() {
  ButtonTable& t = buttonTable();
  for (int32_t id = 0; id < kButtonCount; ++id) {
    t.entries[static_cast<size_t>(id)] = ButtonEntry{};
    t.entries[static_cast<size_t>(id)].id = id;
  }
  t.index.clear();
  buttonsChanged();
  ButtonTableView v;
  v.buttons = &indexedButtons;
  v.spriteHoverable = &spriteHoverable;
  v.spriteAlphaAt = &spriteAlphaAt;
  setButtonTableView(v);
}

bool validButtonId(int32_t id) { return id >= 0 && id < kButtonCount; }

bool registerSpriteButton(int32_t id, int32_t n, int32_t mode) {
  Sprite& s = sprite(n);
  if (!nextShownPicture(s).present()) return false;
  ButtonTable& t = buttonTable();
  // An identifier registered before for another sprite leaves that sprite's index entry.
  for (auto it = t.index.begin(); it != t.index.end();)
    it = it->second == id && it->first != n ? t.index.erase(it) : std::next(it);
  ButtonEntry& b = entry(id);
  b = ButtonEntry{};
  b.id = id;
  b.alphaThreshold = mode & 0xFF;
  b.reserved = (mode >> 8) & 15;
  b.directions = (mode >> 12) & 15;
  b.sprite = n;
  computeSpriteRect(b, s);
  t.index[n] = id;
  buttonsChanged();
  return true;
}

void registerRectButton(int32_t id, int32_t x1, int32_t x2, int32_t y1, int32_t y2) {
  ButtonTable& t = buttonTable();
  for (auto it = t.index.begin(); it != t.index.end();)
    it = it->second == id && it->first != -1 ? t.index.erase(it) : std::next(it);
  ButtonEntry& b = entry(id);
  b = ButtonEntry{};
  b.id = id;
  b.left = x1;
  b.right = x2;
  b.top = y1;
  b.bottom = y2;
  b.targetX = x1 + (x2 - x1) / 2;
  b.targetY = y1 + (y2 - y1) / 2;
  t.index[-1] = id;
  buttonsChanged();
}

int32_t buttonOfSprite(int32_t n) {
  const auto& index = buttonTable().index;
  const auto it = index.find(n);
  return it == index.end() ? -1 : it->second;
}

bool eraseSpriteButton(int32_t n) {
  const int32_t id = buttonOfSprite(n);
  if (id < 0 || n < 0) return false;
  entry(id).sprite = -1;
  buttonTable().index.erase(n);
  buttonsChanged();
  return true;
}

void clearButtons() {
  resetButtons();
  removeButtonTooltip();
}

void followSpriteButton(int32_t n) {
  const int32_t id = buttonOfSprite(n);
  if (id < 0 || n < 0) return;
  computeSpriteRect(entry(id), sprite(n));
  buttonsChanged();
}

void forgetSpriteButton(int32_t n) {
  if (n < 0 || !buttonTable().index.erase(n)) return;
  buttonsChanged();
}

}  // namespace vellum
