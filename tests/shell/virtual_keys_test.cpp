// SDL's keys as Windows virtual-key numbers.
#include <SDL.h>
#include <gtest/gtest.h>

#include <ostream>

#include "platform/virtual_keys.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct KeyCase {
  SDL_Scancode scancode;
  int32_t vk;
  int32_t sided;
};

void PrintTo(const KeyCase& key, std::ostream* out) { *out << "scancode " << key.scancode; }

class VirtualKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeys, MatchTheWindowsNumbers) {
  EXPECT_EQ(virtualKeyForScancode(GetParam().scancode), GetParam().vk);
  EXPECT_EQ(sidedVirtualKey(GetParam().scancode), GetParam().sided);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VirtualKeys,
    ::testing::Values(KeyCase{SDL_SCANCODE_A, 0x41, 0x41}, KeyCase{SDL_SCANCODE_Z, 0x5A, 0x5A},
                      KeyCase{SDL_SCANCODE_0, 0x30, 0x30}, KeyCase{SDL_SCANCODE_RETURN, 0x0D, 0x0D},
                      KeyCase{SDL_SCANCODE_KP_ENTER, 0x0D, 0x0D}, KeyCase{SDL_SCANCODE_ESCAPE, 0x1B, 0x1B},
                      KeyCase{SDL_SCANCODE_SPACE, 0x20, 0x20}, KeyCase{SDL_SCANCODE_TAB, 0x09, 0x09},
                      KeyCase{SDL_SCANCODE_F1, 0x70, 0x70}, KeyCase{SDL_SCANCODE_F10, 0x79, 0x79},
                      KeyCase{SDL_SCANCODE_F24, 0x87, 0x87}, KeyCase{SDL_SCANCODE_LEFT, 0x25, 0x25},
                      KeyCase{SDL_SCANCODE_DOWN, 0x28, 0x28}, KeyCase{SDL_SCANCODE_KP_0, 0x60, 0x60},
                      KeyCase{SDL_SCANCODE_KP_9, 0x69, 0x69}, KeyCase{SDL_SCANCODE_SEMICOLON, 0xBA, 0xBA},
                      KeyCase{SDL_SCANCODE_GRAVE, 0xC0, 0xC0}, KeyCase{SDL_SCANCODE_LSHIFT, 0x10, 0xA0},
                      KeyCase{SDL_SCANCODE_RSHIFT, 0x10, 0xA1}, KeyCase{SDL_SCANCODE_LCTRL, 0x11, 0xA2},
                      KeyCase{SDL_SCANCODE_RALT, 0x12, 0xA5}, KeyCase{SDL_SCANCODE_LGUI, 0x5B, 0x5B},
                      KeyCase{SDL_SCANCODE_INTERNATIONAL4, 0x1C, 0x1C}, KeyCase{SDL_SCANCODE_UNKNOWN, 0, 0}),
    test::namedBy([](const KeyCase& c) {
      const std::string name = SDL_GetScancodeName(c.scancode);  // empty for the unnamed ones
      return name.empty() ? "scancode " + std::to_string(c.scancode) : name;
    }));

TEST(VirtualKeysRange, OutOfRangeScancodesHaveNoNumber) {
  EXPECT_EQ(virtualKeyForScancode(-1), 0);
  EXPECT_EQ(virtualKeyForScancode(SDL_NUM_SCANCODES), 0);
}

}  // namespace
}  // namespace vellum
