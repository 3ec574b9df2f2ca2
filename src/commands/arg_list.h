// The evaluated argument list of a native call: the argument text split at ',' outside quotes, each
// piece kept raw (output arguments name variables by it) and evaluated.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/value.h"

namespace vellum {

struct ArgList {
  explicit ArgList(std::string_view text);

  int size() const { return static_cast<int>(raw.size()); }
  // Piece i (1-based), or nullptr past the end.
  const std::string* rawAt(int i) const { return i >= 1 && i <= size() ? &raw[static_cast<size_t>(i - 1)] : nullptr; }
  const Value* valueAt(int i) const { return i >= 1 && i <= size() ? &values[static_cast<size_t>(i - 1)] : nullptr; }

  std::vector<std::string> raw;
  std::vector<Value> values;
};

}  // namespace vellum
