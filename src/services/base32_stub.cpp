// TEMPORARY: removed when the conversion exports land.
#include <vellum/exports.h>
namespace vellum {
std::string ulltos32(uint64_t v) {
  const char* d = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
  std::string s;
  do { s.insert(s.begin(), d[v & 31]); v >>= 5; } while (v);
  return s;
}
}
