// The label pass over one parsed file: labels into the label table, the first line of every message
// block into the file's read-flag table, and the file's display name.
#pragma once

#include <cstdint>

#include "script/script_file.h"

namespace vellum {

// Returns false after reporting an invalid or duplicate label; start-up then fails.
bool collectLabels(uint64_t fileKey, const ScriptFile& file);

}  // namespace vellum
