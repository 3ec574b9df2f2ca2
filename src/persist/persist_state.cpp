#include "persist/persist_state.h"

#include "base/engine_state.h"

namespace vellum {

namespace {
PersistState state;
}

PersistState& persistState() { return state; }

void resetPersistState() {
  state = PersistState{};
  engine().userDataDirectory.clear();
}

std::string saveDataRoot() {
  const EngineState& e = engine();
  return e.userDataDirectory.empty() ? e.exeDirectory : e.userDataDirectory;
}

}  // namespace vellum
