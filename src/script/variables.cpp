#include "script/variables.h"

#include <cmath>
#include <limits>

#include "script/value.h"

namespace vellum {

namespace {
VariableStore store;
uint64_t erasures = 0;
}  // namespace

VariableStore& variables() { return store; }

void resetVariables() {
  store = VariableStore{};
  noteNamedIntErased();
}

uint64_t namedIntErasures() { return erasures; }
void noteNamedIntErased() { ++erasures; }

int64_t toInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (value <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

int32_t toInt32(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(toInt64(value))));
}

}  // namespace vellum
