// Small helpers the built-in function bodies share for reading their arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/arg_accessor.h"

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

// Returns the pieces to a script VM as one array, numbered from 1.
inline int returnPieces(void* call, const std::vector<std::string>& pieces) {
  args().beginArray(call);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    args().returnBytes(call, index, pieces[i].data(), pieces[i].size());
    args().setArrayElement(call, index);
  }
  return 1;
}

}  // namespace vellum
