// The script variables: 256 numbered integers and strings, and the named ones declared with int and
// string. Names beginning "s_" are kept in the settings file, "g_" in every save.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vellum {

constexpr int kNumberedVariables = 256;

struct VariableStore {
  std::array<int32_t, kNumberedVariables> ints{};
  std::array<std::string, kNumberedVariables> strings{};
  std::unordered_map<std::string, int32_t> namedInts;
  std::unordered_map<std::string, std::string> namedStrings;
};

VariableStore& variables();
void resetVariables();

// Counts erasures of named integers (one by one or all at once). A pointer to one kept from an
// older count may dangle; insertions move no element. Whoever erases one calls noteNamedIntErased.
uint64_t namedIntErasures();
void noteNamedIntErased();

}  // namespace vellum
