// File-name wildcards as setFileList takes them: '*' any run of characters, '?' one character,
// letters compared without regard to ASCII case; "*.*" takes every name. Double-byte aware.
#pragma once

#include <string_view>

namespace vellum {

bool wildcardMatches(std::string_view pattern, std::string_view name);

}  // namespace vellum
