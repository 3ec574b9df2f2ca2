#include "base/floating_text.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace vellum {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isNanChar(char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

// Whether [p, last) starts with `word`, any case.
bool startsWith(const char* p, const char* last, const char* word) {
  for (; *word; ++word, ++p) {
    if (p == last || lower(*p) != *word) return false;
  }
  return true;
}

// The end of the number at `p` (after any '-'), or p itself when there is none.
const char* numberEnd(const char* p, const char* last) {
  if (startsWith(p, last, "inf")) return p + (startsWith(p, last, "infinity") ? 8 : 3);
  if (startsWith(p, last, "nan")) {
    const char* q = p + 3;
    if (q == last || *q != '(') return q;
    const char* close = q + 1;
    while (close != last && isNanChar(*close)) ++close;
    return close != last && *close == ')' ? close + 1 : q;
  }
  const char* q = p;
  while (q != last && isDigit(*q)) ++q;
  bool digits = q != p;
  if (q != last && *q == '.') {
    const char* fraction = ++q;
    while (q != last && isDigit(*q)) ++q;
    digits = digits || q != fraction;
  }
  if (!digits) return p;
  if (q != last && (*q == 'e' || *q == 'E')) {
    const char* e = q + 1;
    if (e != last && (*e == '+' || *e == '-')) ++e;
    const char* exponent = e;
    while (e != last && isDigit(*e)) ++e;
    if (e != exponent) q = e;
  }
  return q;
}

// strtod in the C locale, whatever locale the process has chosen.
double cLocaleStrtod(const char* text, int& error) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  errno = 0;
  const double value = strtod_l(text, nullptr, cLocale);
  error = errno;
  return value;
}

}  // namespace

std::from_chars_result parseFloating(const char* first, const char* last, double& value) {
  const char* p = first != last && *first == '-' ? first + 1 : first;
  const char* end = numberEnd(p, last);
  if (end == p) return {first, std::errc::invalid_argument};
  // strtod needs a terminated copy; it reads exactly the checked text.
  const std::string text(first, end);
  int error = 0;
  const double parsed = cLocaleStrtod(text.c_str(), error);
  // strtod flags subnormal results too; only what overflows or vanishes to zero is out of range.
  if (error == ERANGE && (std::isinf(parsed) || parsed == 0)) return {end, std::errc::result_out_of_range};
  value = parsed;
  return {end, std::errc()};
}

}  // namespace vellum
