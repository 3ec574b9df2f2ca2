// Feeds arbitrary bytes to the archive reader and the file loader as an arc0.dat in a game folder.
// Whatever the index says, loading must report and fail, never read or write out of bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace {

using namespace vellum;

struct GameFolder {
  std::string path;
  GameFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellum-archive-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern + "/";
  }
  ~GameFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

// The members of the seed archives; entries keep their keys under most mutations.
const char* const kMemberPaths[] = {"a.txt", "img/b.png", "s"};
// Paths no archive holds: loose look-ups that fail, including the empty path (key 0).
const char* const kOtherPaths[] = {"missing.bin", "", "c:nothing", "img\\b.png"};

void loadEach(std::string_view path) {
  // Once into a buffer of our own, once into the shared scratch buffer with a requested size.
  uint8_t* buffer = nullptr;
  uint32_t size = 0;
  uint32_t capacity = 0;
  loadFile(path, buffer, size, capacity);
  freeAligned(buffer);
  StorageState& s = storage();
  size = 7;
  loadFile(path, s.scratch, size, s.scratchCapacity);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static GameFolder folder;
  static const bool installed = (setReportSink(silentReportSink()), true);
  (void)installed;
  if (folder.path.empty()) return 0;

  resetStorage();
  resetEngineState();
  engine().exeDirectory = folder.path;
  // Reports append to the folder's Information.txt; keep it from growing over the run.
  std::remove((folder.path + "Information.txt").c_str());
  if (FILE* f = std::fopen((folder.path + "arc0.dat").c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }

  readArchives();
  for (const char* path : kMemberPaths)
    if (storage().archives.count(crc64Of(path))) loadEach(path);
  for (const char* path : kOtherPaths) loadEach(path);
  resetStorage();
  return 0;
}
