#include "shell/input/button_navigation.h"

#include <climits>

namespace vellum {

namespace {

struct Box {
  int32_t left, top, right, bottom;
};

bool onScreen(const InputButton& b, int32_t renderW, int32_t renderH) {
  return b.right > 0 && b.bottom > 0 && b.left < renderW && b.top < renderH;
}

bool overlaps(ArrowKey key, const Box& ref, const InputButton& b) {
  if (key == ArrowKey::Up || key == ArrowKey::Down) return ref.left < b.right && b.left < ref.right;
  return ref.top < b.bottom && b.top < ref.bottom;
}

// One walk over the candidates; ties keep the earlier button.
const InputButton* walk(ArrowKey key, const Box& ref, bool needOverlap, int32_t renderW, int32_t renderH,
                        const InputButton*& wrap) {
  const InputButton* nearest = nullptr;
  int64_t nearestDistance = INT64_MAX;
  int64_t wrapValue = 0;
  wrap = nullptr;
  for (const InputButton& b : inputButtons()) {
    if (!onScreen(b, renderW, renderH)) continue;
    if (needOverlap && !overlaps(key, ref, b)) continue;
    int64_t distance = -1;
    int64_t wrapKey = 0;  // larger is a better wrap-around choice
    switch (key) {
      case ArrowKey::Up:
        if (b.bottom < ref.bottom) distance = ref.bottom - b.bottom;
        wrapKey = b.bottom;
        break;
      case ArrowKey::Down:
        if (b.top > ref.top) distance = b.top - ref.top;
        wrapKey = -static_cast<int64_t>(b.top);
        break;
      case ArrowKey::Left:
        if (b.right < ref.right) distance = ref.right - b.right;
        wrapKey = b.right;
        break;
      case ArrowKey::Right:
        if (b.left > ref.left) distance = b.left - ref.left;
        wrapKey = -static_cast<int64_t>(b.left);
        break;
    }
    if (distance >= 0) {
      if (distance < nearestDistance) {
        nearestDistance = distance;
        nearest = &b;
      }
    } else if (!wrap || wrapKey > wrapValue) {
      wrap = &b;
      wrapValue = wrapKey;
    }
  }
  return nearest;
}

}  // namespace

const InputButton* chooseNextButton(ArrowKey key, const InputButton* current, int32_t pointerX, int32_t pointerY,
                                    int32_t renderW, int32_t renderH) {
  const Box ref = current ? Box{current->left, current->top, current->right, current->bottom}
                          : Box{pointerX - 10, pointerY - 10, pointerX + 1, pointerY + 10};
  const InputButton* wrap = nullptr;
  if (const InputButton* next = walk(key, ref, true, renderW, renderH, wrap)) return next;
  if (wrap) return wrap;
  if (current) return current;
  // Nothing lines up with the pointer: any button in that direction will do.
  if (const InputButton* next = walk(key, ref, false, renderW, renderH, wrap)) return next;
  return wrap;
}

}  // namespace vellum
