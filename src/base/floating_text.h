// Reading a floating-point number from text as std::from_chars does (general format, C locale):
// an optional '-', then decimal digits with an optional point and exponent, "inf", "infinity" or
// "nan" with an optional "(chars)"; no leading space, '+' or hexadecimal. Not every standard
// library has the floating-point from_chars (the web's lacks it), so every platform uses this.
#pragma once

#include <charconv>

namespace vellum {

// As std::from_chars(first, last, value): ptr just past what was read; errc::invalid_argument
// (ptr == first) when nothing is a number; errc::result_out_of_range when the number does not fit
// a double. In both cases value is left as it was.
std::from_chars_result parseFloating(const char* first, const char* last, double& value);

}  // namespace vellum
