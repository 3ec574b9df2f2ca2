// The three parallel kana tables the kana function converts between.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace vellum {

constexpr size_t kKanaEntries = 89;
using KanaTable = std::array<std::string_view, kKanaEntries>;

enum class KanaForm { Hiragana, Katakana, HalfWidth };

// Entry i of every table is the same syllable in that form (Shift-JIS bytes).
const KanaTable& kanaTable(KanaForm form);

}  // namespace vellum
