// Binding pieces of text to the target list of split and regexp_split: each target is a «$name»
// or «%name» reference with an optional «= default». Variables that do not exist yet are created.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

// A string target takes its piece as it is; an integer target takes the number written at the
// start of its piece (0 when there is none). A target without a piece takes its default (the
// expression after '='), else the empty string or 0. Other targets are skipped.
void bindPiecesToTargets(const std::vector<std::string_view>& targets, const std::vector<std::string>& pieces);

}  // namespace vellum
