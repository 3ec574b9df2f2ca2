// Bytes of any kind as script.dat: opening the container and loading its files reports and fails
// cleanly on damage.
#include <cstdint>
#include <vector>

#include "engine/startup.h"
#include "fuzz_support.h"
#include "script/script_file.h"
#include "script/script_container.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::writeGameFile("script.dat", data, size);
  resetAllState();
  openScriptContainer();
  std::vector<uint64_t> keys;
  for (const auto& entry : scriptContainer().index) keys.push_back(entry.first);
  for (uint64_t key : keys) {
    ScriptFile file;
    loadScript(key, file);
  }
  resetAllState();
  return 0;
}
