// The 255-entry button table, the index from sprite (or -1 for the rectangle button) to button,
// and the view of both that the event source hit-tests.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace vellum {

constexpr int32_t kButtonCount = 255;

struct ButtonEntry {
  int32_t id = 0;
  int32_t alphaThreshold = 0;  // 0: the whole rectangle is active
  int32_t reserved = 0;
  int32_t directions = 0;      // arrows the button handles itself: 1 up, 2 down, 4 left, 8 right
  int32_t sprite = -1;         // -1: a rectangle button (or none)
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int32_t targetX = 0, targetY = 0;
  std::string tooltip;
};

struct ButtonTable {
  std::array<ButtonEntry, kButtonCount> entries;
  std::map<int32_t, int32_t> index;  // key (sprite, or -1) -> identifier, ascending
};

ButtonTable& buttonTable();
// Clears the table and the index and hands the event source its view of them.
void resetButtons();

bool validButtonId(int32_t id);

// setBtn: false (nothing changed) when the sprite has no picture to be shown next.
bool registerSpriteButton(int32_t id, int32_t sprite, int32_t mode);
void registerRectButton(int32_t id, int32_t x1, int32_t x2, int32_t y1, int32_t y2);
// The identifier indexed under a sprite, or -1.
int32_t buttonOfSprite(int32_t sprite);
// eraseBtn's table part: the entry loses its sprite and the index entry goes. False when the
// sprite is not a registered button.
bool eraseSpriteButton(int32_t sprite);
void clearButtons();

// Sprite hooks: a sprite that moved takes its button's rectangle along; a deleted sprite leaves
// the index (its entry stays).
void followSpriteButton(int32_t sprite);
void forgetSpriteButton(int32_t sprite);

// Whether a table or index change must be shown to the event source's view before its next pass.
void buttonsChanged();

}  // namespace vellum
