// Small helpers the built-in function bodies share for reading their arguments.
#pragma once

#include <string>
#include <string_view>

#include "commands/arg_accessor.h"

namespace vellum {

// A string argument with its bytes (it may hold NULs).
inline std::string stringArgument(void* call, int i) {
  size_t length = 0;
  const char* text = args().getStringLength(call, i, &length);
  return text ? std::string(text, length) : std::string();
}

inline bool calledNatively() { return args().binding == Binding::Native; }

// Some native forms take their output variable first; the script VMs return it instead, so their
// inputs start that many places earlier.
inline int inputIndex(int nativeIndex, int outputsBefore) {
  return calledNatively() ? nativeIndex : nativeIndex - outputsBefore;
}

inline int argumentCount(void* call) { return args().count[0](call); }

}  // namespace vellum
