#include "script/named_int_reference.h"

#include "script/variables.h"

namespace vellum {

int32_t* NamedIntReference::find() const {
  if (variable_ && erasures_ == namedIntErasures()) return variable_;
  VariableStore& store = variables();
  auto found = store.namedInts.find(name_);
  variable_ = found != store.namedInts.end() ? &found->second : nullptr;
  erasures_ = namedIntErasures();
  return variable_;
}

}  // namespace vellum
