#include "script/builtins/wildcard.h"

#include "script/regex/character_model.h"

namespace vellum {

namespace {

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

bool sameCharacter(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) return lowered(a[0]) == lowered(b[0]);
  return a == b;
}

}  // namespace

bool wildcardMatches(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  // Greedy matching with one backtrack point: the last '*' seen and where the name stood then.
  size_t p = 0, n = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    const size_t nameLength = regex::characterLength(name, n);
    if (p < pattern.size()) {
      const size_t patternLength = regex::characterLength(pattern, p);
      const std::string_view pc = pattern.substr(p, patternLength);
      if (pc == "*") {
        starP = p;
        starN = n;
        ++p;
        continue;
      }
      if (pc == "?" || sameCharacter(pc, name.substr(n, nameLength))) {
        p += patternLength;
        n += nameLength;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP + 1;
    starN += regex::characterLength(name, starN);
    n = starN;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace vellum
