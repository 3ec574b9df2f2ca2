// The regular-expression library as the built-ins reach it: a table of its five calls, filled by
// regexp_create, and helpers that make one call, free the result at once and report a failure
// with the library's own message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/regex/regexp_library.h"

namespace vellum {

struct RegexpPlugin {
  bool loaded = false;
  int (*match)(const char*, const char*, const char*, regex::Regexp**, char*) = nullptr;
  int (*subst)(const char*, const char*, const char*, regex::Regexp**, char*) = nullptr;
  int (*trans)(const char*, const char*, const char*, regex::Regexp**, char*) = nullptr;
  int (*split)(const char*, const char*, const char*, int, regex::Regexp**, char*) = nullptr;
  void (*regfree)(regex::Regexp*) = nullptr;
};

RegexpPlugin& regexpPlugin();

// Resolves the five calls once. The library is part of the engine, so this succeeds; the report
// is kept for a build without it.
bool loadRegexpPlugin();

// s/…/…/ on the text: the number of replacements (-1 after reporting a failure); `out` is the new
// text, or the text itself when nothing was replaced or the call failed.
int regexpSubstitute(std::string_view expression, std::string_view text, std::string& out);
// tr/…/…/ likewise.
int regexpTransliterate(std::string_view expression, std::string_view text, std::string& out);

struct RegexpFound {
  bool matched = false;
  size_t offset = 0;
  size_t length = 0;
};
RegexpFound regexpFirstMatch(std::string_view expression, std::string_view text);

// The pieces of the text between the matches; empty after reporting a failure.
std::vector<std::string> regexpPieces(std::string_view expression, std::string_view text);

}  // namespace vellum
