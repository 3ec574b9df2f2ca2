// std::bit_cast where <bit> has it, a byte copy where it does not (the web's standard library).
#pragma once

#include <bit>
#include <cstring>
#include <type_traits>

namespace vellum::sqstd {

template <typename To, typename From>
To bitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
#if defined(__cpp_lib_bit_cast)
  return std::bit_cast<To>(from);
#else
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
#endif
}

}  // namespace vellum::sqstd
