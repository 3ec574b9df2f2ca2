// The regexp class of the string library: a compiled pattern with match, search, capture and
// subexpcount. Positions are byte indexes into the string.
#include <vellum/squirrel_std.h>

#include <string>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"
#include "squirrel/stdlib/regexp_engine.h"

namespace vellum::sqstd {

namespace {

char kRegexpTag = 'r';

SQRex* regexpAt(HSQUIRRELVM v) { return static_cast<SQRex*>(instanceData(v, 1, &kRegexpTag)); }

#define SELF_REGEXP(v)             \
  SQRex* self = regexpAt(v);       \
  if (!self) return throwError(v, "invalid regexp")

SQInteger releaseRegexp(SQUserPointer data, SQInteger) {
  sqstd_rex_free(static_cast<SQRex*>(data));
  return 1;
}

SQInteger construct(HSQUIRRELVM v) {
  if (regexpAt(v)) return throwError(v, "regexp already constructed");
  const std::string_view pattern = stringAt(v, 2);
  if (pattern.find('\0') != std::string_view::npos) return throwError(v, "the pattern holds a NUL byte");
  const SQChar* error = nullptr;
  SQRex* exp = sqstd_rex_compile(std::string(pattern).c_str(), &error);
  if (!exp) return throwError(v, error ? error : "invalid pattern");
  if (SQ_FAILED(sq_setinstanceup(v, 1, exp))) {
    sqstd_rex_free(exp);
    return throwError(v, "cannot create regexp");
  }
  sq_setreleasehook(v, 1, &releaseRegexp);
  return 0;
}

// The search start of search and capture: 0 when omitted, and within the string.
bool startOf(HSQUIRRELVM v, std::string_view text, SQInteger& start) {
  start = sq_gettop(v) > 2 ? integerArgument(v, 3) : 0;
  return start >= 0 && start <= static_cast<SQInteger>(text.size());
}

void pushRange(HSQUIRRELVM v, SQInteger begin, SQInteger end) {
  sq_newtable(v);
  setInteger(v, -1, "begin", begin);
  setInteger(v, -1, "end", end);
}

// Searches from start: the text before it is out of sight, so '^' matches at start.
bool searchFrom(SQRex* exp, std::string_view text, SQInteger start) {
  const SQChar* begin = text.data() + start;
  return sqstd_rex_searchrange(exp, begin, text.data() + text.size(), nullptr, nullptr) != SQFalse;
}

SQInteger match(HSQUIRRELVM v) {
  SELF_REGEXP(v);
  const std::string_view text = stringAt(v, 2);
  sq_pushbool(v, rexMatchRange(self, text.data(), text.data() + text.size()) ? SQTrue : SQFalse);
  return 1;
}

SQInteger search(HSQUIRRELVM v) {
  SELF_REGEXP(v);
  const std::string_view text = stringAt(v, 2);
  SQInteger start = 0;
  if (!startOf(v, text, start)) return throwError(v, "invalid starting position");
  if (!searchFrom(self, text, start)) return 0;  // null
  SQRexMatch whole{};
  sqstd_rex_getsubexp(self, 0, &whole);
  const SQInteger begin = whole.begin - text.data();
  pushRange(v, begin, begin + whole.len);
  return 1;
}

SQInteger capture(HSQUIRRELVM v) {
  SELF_REGEXP(v);
  const std::string_view text = stringAt(v, 2);
  SQInteger start = 0;
  if (!startOf(v, text, start)) return throwError(v, "invalid starting position");
  if (!searchFrom(self, text, start)) return 0;  // null
  const SQInteger count = sqstd_rex_getsubexpcount(self);
  sq_newarray(v, 0);
  const SQInteger array = sq_gettop(v);
  for (SQInteger n = 0; n < count; ++n) {
    SQRexMatch group{};
    sqstd_rex_getsubexp(self, n, &group);
    if (group.begin) {
      const SQInteger begin = group.begin - text.data();
      pushRange(v, begin, begin + group.len);
    } else {
      pushRange(v, -1, -1);  // a group that took no part: slicing it gives the empty string
    }
    sq_arrayappend(v, array);
  }
  return 1;
}

SQInteger subexpcount(HSQUIRRELVM v) {
  SELF_REGEXP(v);
  sq_pushinteger(v, sqstd_rex_getsubexpcount(self));
  return 1;
}

SQInteger typeOf(HSQUIRRELVM v) {
  sq_pushstring(v, "regexp", -1);
  return 1;
}

const Function kRegexpMethods[] = {
    {"constructor", &construct, 2, "xs"}, {"search", &search, -2, "xsn"},      {"match", &match, 2, "xs"},
    {"capture", &capture, -2, "xsn"},     {"subexpcount", &subexpcount, 1, "x"}, {"_typeof", &typeOf, 1, "x"},
};

}  // namespace

void registerRegexpClass(HSQUIRRELVM v, SQInteger table) {
  table = absoluteIndex(v, table);
  sq_pushstring(v, "regexp", -1);
  sq_newclass(v, SQFalse);
  sq_settypetag(v, -1, &kRegexpTag);
  registerFunctions(v, -1, kRegexpMethods);
  sq_newslot(v, table, SQFalse);
}

}  // namespace vellum::sqstd
