// TEMPORARY: replaced when the archive loader lands.
#include "storage/file_loader.h"
#include "storage/aligned_memory.h"
namespace vellum {
namespace { StorageState st; }
StorageState& storage() { return st; }
void resetStorage() { freeAligned(st.scratch); st = StorageState{}; }
void readArchives() {}
bool readArchiveIndex(const std::string&, ArchiveIndex&) { return false; }
}
