// Moving between buttons with the arrow keys.
#pragma once

#include <cstdint>

#include "shell/input/input_buttons.h"

namespace vellum {

enum class ArrowKey { Up, Down, Left, Right };

// The next button from the reference box in the direction: the nearest overlapping one, else the
// one the direction wraps around to; nullptr when there is none.
const InputButton* chooseNextButton(ArrowKey key, const InputButton* current, int32_t pointerX, int32_t pointerY,
                                    int32_t renderW, int32_t renderH);

}  // namespace vellum
