// The four things vellum-pack does. Each throws ToolError on failure.
#pragma once

#include "pack_options.h"

namespace vellum::pack {

void packScripts(const PackOptions& options);
void packArchive(const PackOptions& options);
void listEntries(const PackOptions& options);
// Returns false when some entry with a known name could not be decoded (the others are written).
bool extractEntries(const PackOptions& options);

}  // namespace vellum::pack
