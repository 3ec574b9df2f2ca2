#include "script/line_cache.h"

namespace vellum {

namespace {
// Bumped for every replacement of script text; a line cache filled under an older value is stale.
uint64_t scriptTextGeneration = 1;
}  // namespace

void forgetCompiledScript() { ++scriptTextGeneration; }

PairCache& LineCache::pair(size_t index, size_t pairCount) {
  if (generation_ != scriptTextGeneration || pairs_.size() != pairCount) {
    pairs_.clear();
    pairs_.resize(pairCount);
    generation_ = scriptTextGeneration;
  }
  return pairs_[index];
}

}  // namespace vellum
