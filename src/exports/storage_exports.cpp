// Plug-in exports of the file loader. Plug-ins hold the buffer as void*; the engine as bytes.
#include "vellum/exports.h"

#include "base/report.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

VELLUM_API int loadFile(const char* path, void** buffer, uint32_t* size, uint32_t* capacity) {
  if (!path || !buffer || !size || !capacity) {
    vellum::errorc(vellum::ReportText("loadFile: a null argument", vellum::CodePage::Gbk), true);
    return 0;
  }
  auto* bytes = static_cast<uint8_t*>(*buffer);
  const bool ok = vellum::loadFile(path, bytes, *size, *capacity);
  *buffer = bytes;
  return ok ? 1 : 0;
}

VELLUM_API void getFileMemory(void*** buffer, uint32_t** capacity) {
  vellum::StorageState& s = vellum::storage();
  // The scratch pointer is a uint8_t*; plug-ins see it as the void* slot loadFile takes.
  if (buffer) *buffer = reinterpret_cast<void**>(&s.scratch);
  if (capacity) *capacity = &s.scratchCapacity;
}

VELLUM_API void freeMemory(void* block) { vellum::freeAligned(block); }
