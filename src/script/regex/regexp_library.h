// The regular-expression library behind the regexp_ built-ins and kana: five calls in the manner of
// the Perl-style matching plug-ins the scripts were written for. Each call takes the expression
// text, the subject as a byte range, the address of a result pointer (null on the first call; the
// record is made then and can be handed back for the next call) and a message buffer of
// kRegexpMessageSize bytes that receives the reason of a failure. Free the record with BRegfree.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vellum::regex {

constexpr size_t kRegexpMessageSize = 80;

// The result record. Pointers point into the subject (matches, pieces) or into the record (output).
struct Regexp {
  const char* outp = nullptr;  // BSubst, BTrans: the new text; BSubst leaves it null without a change
  const char* outendp = nullptr;
  int splitctr = 0;               // BSplit: the number of pieces
  const char** splitp = nullptr;  // BSplit: start and end of each piece, 2 * splitctr pointers
  int nparens = 0;                // BMatch: the number of groups
  const char** startp = nullptr;  // BMatch: [0] the start of the whole match, then of each group
  const char** endp = nullptr;    // (null entries for groups that took no part)

  std::string output;
  std::vector<const char*> pieceBounds;
  std::vector<const char*> starts;
  std::vector<const char*> ends;
};

// m/…/ (or the pattern of s/…/…/) on the subject: 1 on a match, 0 without one, -1 on an error.
int BMatch(const char* expression, const char* start, const char* end, Regexp** rx, char* message);
// s/…/…/: the number of replacements, or -1 on an error.
int BSubst(const char* expression, const char* start, const char* end, Regexp** rx, char* message);
// tr/…/…/: the number of characters found in the from list, or -1 on an error.
int BTrans(const char* expression, const char* start, const char* end, Regexp** rx, char* message);
// m/…/ as the separator: the number of pieces (limit as splitText takes it), or -1 on an error.
int BSplit(const char* expression, const char* start, const char* end, int limit, Regexp** rx, char* message);
void BRegfree(Regexp* rx);

}  // namespace vellum::regex
