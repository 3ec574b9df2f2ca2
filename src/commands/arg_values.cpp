#include <string>

#include "script/arg_accessor.h"

namespace vellum {

std::string stringArgument(void* call, int i) {
  size_t length = 0;
  const char* text = args().getStringLength(call, i, &length);
  return std::string(text ? text : "", text ? length : 0);
}

int noResult(void* call) {
  args().returnNothing(call);
  return 1;
}

}  // namespace vellum
