// The menu bar as data: rebuilt whole from the settings and the display state, then drawn by the
// platform's in-window menu. Which items exist, which are checked and which are greyed is decided
// here, so that it can be tested without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/display/screen_geometry.h"

namespace vellum {

// Item identifiers; a click runs the display operation of its identifier (runMenuCommand).
enum MenuId : int32_t {
  kMenuWindowed = 1, kMenuFullScreen = 2, kMenuAspect169 = 3, kMenuAspect43 = 4,
  kMenuFixedSize = 10, kMenuPreset0 = 11,  // 11..20
  kMenuCentre = 30, kMenuKeepPosition = 31, kMenuAlwaysOnTop = 32,
  kMenuFullMode0 = 40,       // 40..44
  kMenuInterpolation0 = 50,  // 50..57
  kMenuVSync0 = 60,          // 60..62
  kMenuReadAloud = 70,
  kMenuPin = 99,
};

struct MenuItem {
  std::string label;  // GBK
  int32_t id = 0;     // 0 for a separator
  bool separator = false;
  bool radio = true;  // drawn with the radio mark when checked
  bool checked = false;
  bool enabled = true;
};

struct Submenu {
  std::string label;  // GBK
  std::vector<MenuItem> items;
};

struct MenuModel {
  std::string dropDownLabel;      // "画面"
  std::vector<Submenu> submenus;  // seven, in the bar's order
  // Windowed only: the "＋" / "×" item that pins the bar to the window.
  bool hasPinItem = false;
  std::string pinLabel;
  // Where the bar shows: in the window's frame (pinned) or as the popup at the top edge.
  bool attachedToFrame = false;
  // Position in the window-size submenu of the checked preset (0 = none).
  int32_t presetCheck = 0;
};

// Everything the build reads.
struct MenuInputs {
  int32_t fullScreen = 0, screenAspect = 0, windowWidth = 0, windowHeight = 0, windowChange = 0;
  int32_t windowPos = 0, windowMost = 0, fullMode = 0, interpolation = 0, vSyncWait = 0, menuLock1 = 0;
  int32_t aspectSwitchable = 0;
  int32_t pixelShaderMajor = 0;  // of the device; 0 when none
  bool canReadScanLine = true;
  bool readAloud = false;
  WindowPresets presets{};
  int32_t frameW = 0, frameH = 0, monW = 0, monH = 0;
};

MenuModel buildMenuModel(const MenuInputs& in);

// The inputs as the engine stands now (settings, geometry, device).
MenuInputs currentMenuInputs();

// "尺寸固定(" + width + "x" + height + ")".
std::string fixedSizeLabel(int32_t width, int32_t height);

// The display operation behind an identifier; false for an identifier no item has.
bool runMenuCommand(int32_t id);

}  // namespace vellum
