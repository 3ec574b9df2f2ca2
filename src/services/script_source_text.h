// Script sources as the engine reads them: GBK bytes with LF line ends.
#pragma once

#include <cstdint>
#include <vector>

namespace vellum {

// CR LF and a lone CR both become LF.
std::vector<uint8_t> normaliseLineEnds(const std::vector<uint8_t>& text);

// Converts UTF-8 (a leading byte-order mark dropped) to GBK. Returns false when some character
// had no GBK form or the input was not UTF-8; those became '?'.
bool utf8ToGbk(const std::vector<uint8_t>& utf8, std::vector<uint8_t>& gbk);

}  // namespace vellum
