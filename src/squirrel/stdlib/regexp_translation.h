// The Squirrel regular-expression syntax rewritten as a PCRE2 pattern with the same meaning: the
// predefined classes (\l \u \a \A \w \W \s \S \d \D \x \X \c \C \p \P) become bracket classes, the
// escapes \t \n \r \f and the boundaries \b \B stay, any other escaped character and every
// non-alphanumeric literal is written as a hexadecimal escape, and the operators
// ^ . $ | ( ) (?: ) [ ] * + ? {n} {n,} {n,m} pass through after a syntax check. The balanced match
// \mXY becomes a recursive group placed after the pattern's own groups.
#pragma once

#include <string>
#include <string_view>

namespace vellum::sqstd {

// False with a description when the pattern is malformed. hiddenGroups receives the number of
// capture groups the translation added (they come after the pattern's own).
bool translateRegexp(std::string_view pattern, std::string& pcre, std::string& error, int* hiddenGroups = nullptr);

}  // namespace vellum::sqstd
