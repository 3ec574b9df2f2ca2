#include "shell/input/input_state.h"

namespace vellum {

namespace {
InputState state;
}  // namespace

InputState& inputState() { return state; }
void resetInputState() { state = InputState{}; }

}  // namespace vellum
