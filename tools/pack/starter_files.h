// The starter game's template files (tools/pack/starter/), built into vellum-pack so that
// `vellum-pack new` needs nothing beside itself.
#pragma once

#include <cstddef>

namespace vellum::pack {

struct StarterFile {
  const char* path;            // relative to the game source folder, '/' separators
  const unsigned char* bytes;  // the file as it is in the source tree (UTF-8 text)
  size_t size;
};

extern const StarterFile kStarterFiles[];
extern const size_t kStarterFileCount;

}  // namespace vellum::pack
