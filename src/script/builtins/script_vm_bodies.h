// Bodies for the script VMs where the native form of a built-in parses its own argument text (its
// targets are variable references with defaults, which an argument list would evaluate). The
// native forms are registered by name; the VMs register these under the same names.
#pragma once

namespace vellum {

// split(text, separator) → array of the pieces.
int splitVmBody(void* call);
// regexp_split(text, pattern) → array of the pieces.
int regexpSplitVmBody(void* call);

}  // namespace vellum
