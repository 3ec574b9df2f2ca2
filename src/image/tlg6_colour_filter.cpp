#include "image/tlg6_colour_filter.h"

#include <array>
#include <cstddef>
#include <utility>

namespace vellum {

namespace {

using Filter = uint32_t (*)(uint32_t);

template <size_t... F>
constexpr std::array<Filter, kTlg6ColourFilters> forwardTable(std::index_sequence<F...>) {
  return {&applyColourFilter<static_cast<int>(F)>...};
}

template <size_t... F>
constexpr std::array<Filter, kTlg6ColourFilters> inverseTable(std::index_sequence<F...>) {
  return {&undoColourFilter<static_cast<int>(F)>...};
}

constexpr auto kForward = forwardTable(std::make_index_sequence<kTlg6ColourFilters>{});
constexpr auto kInverse = inverseTable(std::make_index_sequence<kTlg6ColourFilters>{});

}  // namespace

uint32_t applyColourFilter(int filter, uint32_t residual) { return kForward[static_cast<size_t>(filter & 15)](residual); }

uint32_t undoColourFilter(int filter, uint32_t difference) { return kInverse[static_cast<size_t>(filter & 15)](difference); }

}  // namespace vellum
