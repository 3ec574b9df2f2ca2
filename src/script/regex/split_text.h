// Splitting a text at the matches of a pattern, as Perl's split does: an empty match at the start
// of a piece does not end it (so a pattern that matches nothing splits between characters), a
// match at the very start leaves an empty first piece, and with no limit the empty pieces at the
// end are dropped. Groups in the pattern are not returned as pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/regex/compiled_pattern.h"
#include "script/regex/perl_expression.h"

namespace vellum::regex {

// limit > 0: at most that many pieces, the last holding the rest; 0: no limit, trailing empty
// pieces dropped; < 0: no limit, every piece kept. Returns the number of pieces or -1 with `error`.
int splitText(const PerlExpression& expression, std::string_view text, int limit, std::vector<ByteSpan>& pieces,
              std::string& error);

}  // namespace vellum::regex
