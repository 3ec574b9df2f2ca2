#include "key_text.h"

#include <algorithm>

namespace vellum::pack {

std::string keyToBase32(uint64_t key) {
  static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
  std::string text;
  do {
    text.push_back(kDigits[key & 31]);
    key >>= 5;
  } while (key != 0);
  std::reverse(text.begin(), text.end());
  return text;
}

}  // namespace vellum::pack
