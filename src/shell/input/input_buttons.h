// What the event source needs to know about the buttons scripts define: their rectangles, targets
// and tooltips in key order, and the sprites they stand on. The buttons' owner registers the view;
// until then there are no buttons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

struct InputButton {
  int32_t id = 0;
  int32_t alphaThreshold = 0;  // 0: no pixel test
  int32_t directions = 0;      // arrows the button handles itself: 1 up, 2 down, 4 left, 8 right
  int32_t sprite = -1;         // -1: none
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // game coordinates, right and bottom exclusive
  int32_t targetX = 0, targetY = 0;                  // where keyboard navigation puts the pointer
  std::string tooltip;
};

struct ButtonTableView {
  // The buttons in key order.
  const std::vector<InputButton>& (*buttons)() = nullptr;
  // Whether the sprite may be hovered now (it exists and is shown).
  bool (*spriteHoverable)(int32_t sprite) = nullptr;
  // The alpha byte of the sprite's picture under the game position; -1 outside the picture.
  int32_t (*spriteAlphaAt)(int32_t sprite, int32_t x, int32_t y) = nullptr;
};

void setButtonTableView(const ButtonTableView& view);
const std::vector<InputButton>& inputButtons();
bool buttonSpriteHoverable(int32_t sprite);
int32_t buttonSpriteAlpha(int32_t sprite, int32_t x, int32_t y);
// The button with this identifier, or nullptr.
const InputButton* findInputButton(int32_t id);

}  // namespace vellum
