// Any bytes as an ELF file for vellum-pack dist's reader of needed libraries: it never reads
// outside the bytes, and every name it returns is a string it found inside them.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "elf_needed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const auto names = vellum::pack::neededLibraries(bytes);
  if (!names) return 0;
  const std::string all(bytes.begin(), bytes.end());
  for (const std::string& name : *names)
    if (name.size() >= size || all.find(name) == std::string::npos) std::abort();
  return 0;
}
