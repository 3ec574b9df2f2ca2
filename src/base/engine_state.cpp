#include "base/engine_state.h"

#include <algorithm>
#include <cstring>

namespace vellum {

namespace {
EngineState state;
}

EngineState& engine() { return state; }

void resetEngineState() { state = EngineState{}; }

void setCurrentCommandName(std::string_view name) {
  const size_t n = std::min(name.size(), sizeof state.currentCommandName - 1);
  std::memcpy(state.currentCommandName, name.data(), n);
  state.currentCommandName[n] = '\0';
}

}  // namespace vellum
