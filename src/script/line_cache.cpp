#include "script/line_cache.h"

namespace vellum {

namespace {
// Bumped for every replacement of script text; a line cache filled under an older value is stale.
uint64_t scriptTextGeneration = 1;
}  // namespace

void forgetCompiledScript() { ++scriptTextGeneration; }

PairCache& LineCache::pair(size_t index, size_t pairCount) {
  if (!pairs_ || pairs_->generation != scriptTextGeneration || pairs_->pairs.size() != pairCount) {
    pairs_ = std::make_unique<Pairs>();
    pairs_->pairs.resize(pairCount);
    pairs_->generation = scriptTextGeneration;
  }
  return pairs_->pairs[index];
}

}  // namespace vellum
