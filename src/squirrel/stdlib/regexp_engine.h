// What the regexp class needs beyond the documented C functions: a whole-string match over a
// byte range, so strings with NUL bytes are matched in full.
#pragma once

#include <vellum/squirrel_std.h>

namespace vellum::sqstd {

bool rexMatchRange(SQRex* exp, const SQChar* begin, const SQChar* end);

}  // namespace vellum::sqstd
