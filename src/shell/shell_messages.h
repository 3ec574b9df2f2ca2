// Fixed texts of the window shell, as GBK bytes (the readable text beside each).
#pragma once

#include <string_view>

namespace vellum::shell_messages {

// "(等倍)": appended to the label of the window preset that shows the render size 1:1.
inline constexpr std::string_view kSameSize = "\x28\xb5\xc8\xb1\xb6\x29";

}  // namespace vellum::shell_messages
