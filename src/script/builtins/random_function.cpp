// rand %out, min, max: a number from the process-wide Mersenne Twister.
#include <cstdint>
#include <ctime>
#include <random>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/random_generator.h"

namespace vellum {

namespace {

// A namespace-scope object, so it is seeded before main runs.
std::mt19937 generator(static_cast<uint32_t>(std::time(nullptr)));

// min + value mod (max - min + 1), in 32-bit arithmetic; a span that wraps to 0 takes the value
// as it is.
int randBody(void* call) {
  const auto low = static_cast<uint32_t>(args().getInt(call, 2));
  const auto high = static_cast<uint32_t>(args().getInt(call, 3));
  const uint32_t value = scriptRandomGenerator()();
  const uint32_t span = high - low + 1u;
  args().returnInt(call, 1, static_cast<int32_t>(low + (span ? value % span : value)));
  return 1;
}

}  // namespace

std::mt19937& scriptRandomGenerator() { return generator; }

void provideRandomFunction() { provideCommand("rand", &randBody); }

}  // namespace vellum
