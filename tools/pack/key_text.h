// File keys as people read them: base 32, digits 0-9 then A-V, most significant first.
#pragma once

#include <cstdint>
#include <string>

namespace vellum::pack {

std::string keyToBase32(uint64_t key);

}  // namespace vellum::pack
