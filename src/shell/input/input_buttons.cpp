#include "shell/input/input_buttons.h"

namespace vellum {

namespace {

ButtonTableView view;

const std::vector<InputButton>& noButtons() {
  static const std::vector<InputButton> none;
  return none;
}

}  // namespace

void setButtonTableView(const ButtonTableView& v) { view = v; }

const std::vector<InputButton>& inputButtons() { return view.buttons ? view.buttons() : noButtons(); }

bool buttonSpriteHoverable(int32_t sprite) { return view.spriteHoverable && view.spriteHoverable(sprite); }

int32_t buttonSpriteAlpha(int32_t sprite, int32_t x, int32_t y) {
  return view.spriteAlphaAt ? view.spriteAlphaAt(sprite, x, y) : -1;
}

const InputButton* findInputButton(int32_t id) {
  for (const InputButton& b : inputButtons())
    if (b.id == id) return &b;
  return nullptr;
}

}  // namespace vellum
