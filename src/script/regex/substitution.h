// s/pattern/replacement/: the replacement may name the whole match ($& or $0), a group ($1, ${12},
// \1) and the escapes \n \r \t; any other escaped character stands for itself.
#pragma once

#include <string>
#include <string_view>

#include "script/regex/perl_expression.h"

namespace vellum::regex {

// Replaces the first match, or every match with g, writing the result to `out`. Returns the number
// of replacements, or -1 with `error` set.
int substitute(const PerlExpression& expression, std::string_view text, std::string& out, std::string& error);

}  // namespace vellum::regex
