// Expressions of the native script: a single-pass recursive-descent evaluator over the text, with
// no syntax tree. Precedence, lowest first: && & || | ^; comparisons and shifts; + -; * / \ %;
// primaries and prefix runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/value.h"

namespace vellum {

// Evaluates the text. Type -1 for an empty text or after an error (which is reported).
Value evaluate(std::string_view text);

// The variable named by a text that is exactly one reference ("%name", "%3", "%%1", "%$s"...),
// or nullptr. With `report`, a missing variable is reported.
int32_t* findIntVariable(std::string_view text, bool report = false);
std::string* findStringVariable(std::string_view text, bool report = false);

}  // namespace vellum
