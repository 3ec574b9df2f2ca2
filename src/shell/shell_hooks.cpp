#include "shell/shell_hooks.h"

namespace vellum {

void showButtonTooltip(int32_t, int32_t, int32_t, int32_t, const std::string&) {}
void removeButtonTooltip() {}

}  // namespace vellum
