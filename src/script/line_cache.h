// What the interpreter keeps of a script line once it has run: per command pair, the command's key
// and the form its handler compiled from the argument text. Everything kept here follows from the
// line's own bytes; what depends on the game's state (variables, labels, which commands exist) is
// still looked up on every run. forgetCompiledScript() drops all of it whenever script text is
// replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vellum {

// A handler's compiled argument. `kind` tells the handler's own form type from another's (a name may
// be registered again with another handler).
struct ArgumentForm {
  explicit ArgumentForm(const void* formKind) : kind(formKind) {}
  virtual ~ArgumentForm() = default;
  const void* kind;
};

struct CommandEntry;

struct PairCache {
  uint32_t key = 0;
  bool keyed = false;
  // The native command under `key` (nullptr: none) as the registry stood at `registryChanges`.
  const CommandEntry* native = nullptr;
  uint64_t registryChanges = 0;
  std::unique_ptr<ArgumentForm> form;
};

// Kept inside each parsed line, as one pointer so that lines stay small. A copied line starts
// empty: its forms point into its own text.
class LineCache {
 public:
  LineCache() = default;
  LineCache(const LineCache&) {}
  LineCache& operator=(const LineCache&) {
    pairs_.reset();
    return *this;
  }
  LineCache(LineCache&&) noexcept = default;  // the line's strings move with it, their bytes stay
  LineCache& operator=(LineCache&&) noexcept = default;

  // The cache of pair `index` of a line with `pairCount` pairs; emptied first when script text was
  // replaced since it was filled.
  PairCache& pair(size_t index, size_t pairCount);

 private:
  struct Pairs {
    std::vector<PairCache> pairs;
    uint64_t generation = 0;
  };
  std::unique_ptr<Pairs> pairs_;
};

// Drops every compiled line: called wherever script text is (re)loaded or replaced.
void forgetCompiledScript();

}  // namespace vellum
