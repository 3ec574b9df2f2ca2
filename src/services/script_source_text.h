// Script sources as the engine reads them: GBK bytes with LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

// CR LF and a lone CR both become LF.
std::vector<uint8_t> normaliseLineEnds(const std::vector<uint8_t>& text);

// Converts UTF-8 (a leading byte-order mark dropped) to GBK. Returns false when some character
// had no GBK form or the input was not UTF-8; those became '?'.
bool utf8ToGbk(const std::vector<uint8_t>& utf8, std::vector<uint8_t>& gbk);

// Whether the bytes read as UTF-8 rather than GBK: a byte-order mark, or well-formed UTF-8 with at
// least one character outside ASCII (GBK text of any length is practically never well-formed
// UTF-8; ASCII reads the same either way).
bool looksLikeUtf8(const std::vector<uint8_t>& bytes);

// A source file as the packer stores it: UTF-8 converted to GBK (as --from-utf8 does), GBK kept,
// line ends made LF. `lossless` is false when some character had no GBK form and became '?'.
std::string scriptTextFromSource(const std::vector<uint8_t>& bytes, bool& lossless);

}  // namespace vellum
