#include <string>

#include "base/engine_state.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {
constexpr int kArchiveCount = 9;  // arc0.dat ... arc8.dat
}

StorageState& storage() {
  static StorageState state;
  return state;
}

void resetStorage() {
  StorageState& s = storage();
  freeAligned(s.scratch);
  s = StorageState{};
}

void readArchives() {
  StorageState& s = storage();
  s.archives.clear();
  s.archivesPresent = false;
  for (int i = 0; i < kArchiveCount; ++i) {
    const std::string path = engine().exeDirectory + "arc" + std::to_string(i) + ".dat";
    if (readArchiveIndex(path, s.archives)) s.archivesPresent = true;
  }
}

}  // namespace vellum
