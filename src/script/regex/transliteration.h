// tr/from/to/: each character of the text found in the from list becomes the character at the same
// place in the to list. Lists are characters and ranges (a-z, or between two double-byte
// characters in code order) with the escapes \n \r \t \\ \- and an escaped delimiter. An empty to
// list means the from list (the text is only counted); a shorter one repeats its last character.
// Options: c takes every character not in the from list (all become the last character of the to
// list), d deletes characters with no counterpart, s squeezes a run that became one same
// character.
#pragma once

#include <string>
#include <string_view>

#include "script/regex/perl_expression.h"

namespace vellum::regex {

// Returns the number of characters found in the from list, or -1 with `error` set.
int transliterate(const PerlExpression& expression, std::string_view text, std::string& out, std::string& error);

}  // namespace vellum::regex
