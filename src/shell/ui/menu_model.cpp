#include "shell/ui/menu_model.h"

#include "shell/ui/menu_texts.h"

namespace vellum {

namespace {

MenuItem item(std::string_view label, int32_t id) {
  MenuItem i;
  i.label = std::string(label);
  i.id = id;
  return i;
}

MenuItem separator() {
  MenuItem i;
  i.separator = true;
  i.radio = false;
  return i;
}

// Checks by position, as the bar always has: a position past the end checks nothing.
void checkPosition(Submenu& menu, int32_t position) {
  if (position >= 0 && static_cast<size_t>(position) < menu.items.size()) menu.items[position].checked = true;
}

Submenu screenModeMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kScreenMode), {item(menu_texts::kWindowed, kMenuWindowed), item(menu_texts::kFullScreen, kMenuFullScreen)}};
  checkPosition(m, in.fullScreen);
  if (in.aspectSwitchable) {
    m.items.push_back(separator());
    m.items.push_back(item(menu_texts::kMonitor169, kMenuAspect169));
    m.items.push_back(item(menu_texts::kMonitor43, kMenuAspect43));
    checkPosition(m, in.screenAspect + 3);
  }
  return m;
}

Submenu windowSizeMenu(const MenuInputs& in, int32_t& presetCheck) {
  Submenu m{std::string(menu_texts::kWindowSize), {item(fixedSizeLabel(in.windowWidth, in.windowHeight), kMenuFixedSize), separator()}};
  m.items[0].checked = in.windowChange != 0;
  for (int i = 0; i < kWindowPresets; ++i) {
    const WindowPreset& p = in.presets[i];
    if (in.frameW + p.width < in.monW && in.frameH + p.height < in.monH) m.items.push_back(item(p.label, kMenuPreset0 + i));
  }
  // The first preset of the client size, found by its identifier: presets that do not fit are
  // left out, so a table index is not always a position.
  presetCheck = 0;
  for (int i = 0; i < kWindowPresets && presetCheck == 0; ++i) {
    if (in.presets[i].width != in.windowWidth || in.presets[i].height != in.windowHeight) continue;
    for (size_t pos = 2; pos < m.items.size(); ++pos) {
      if (m.items[pos].id == kMenuPreset0 + i) {
        m.items[pos].checked = true;
        presetCheck = static_cast<int32_t>(pos);
      }
    }
  }
  return m;
}

Submenu windowPositionMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kWindowPosition),
            {item(menu_texts::kCentre, kMenuCentre), item(menu_texts::kKeepPosition, kMenuKeepPosition), separator(),
             item(menu_texts::kAlwaysOnTop, kMenuAlwaysOnTop)}};
  m.items[3].radio = false;
  checkPosition(m, in.windowPos);
  m.items[3].checked = in.windowMost != 0;
  return m;
}

Submenu fullModeMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kFullScreenMode), {}};
  static const char* const kNames[] = {"Full1", "Full2", "Original", "Normal", "Zoom"};
  for (int i = 0; i < 5; ++i) m.items.push_back(item(kNames[i], kMenuFullMode0 + i));
  checkPosition(m, in.fullMode);
  return m;
}

Submenu interpolationMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kInterpolation), {}};
  static const char* const kNames[] = {"Driver", "NearestNeighbor", "BiLinear", "BiLinearSharp",
                                       "Lanczos1", "BiQuad", "BiCubic", "Lanczos2"};
  // The filters that need pixel shaders are offered only by a device that has them.
  const int count = in.pixelShaderMajor > 2 ? 8 : in.pixelShaderMajor > 1 ? 7 : 3;
  for (int i = 0; i < count; ++i) m.items.push_back(item(kNames[i], kMenuInterpolation0 + i));
  checkPosition(m, in.interpolation);
  return m;
}

Submenu vSyncMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kVSyncWait),
            {item(menu_texts::kNoVSync, kMenuVSync0), item("Hardware", kMenuVSync0 + 1), item("Software", kMenuVSync0 + 2)}};
  checkPosition(m, in.vSyncWait);
  m.items[2].enabled = in.canReadScanLine;
  return m;
}

// Reading the story aloud, switched as the V key does.
Submenu readAloudMenu(const MenuInputs& in) {
  Submenu m{std::string(menu_texts::kReadAloud), {item(menu_texts::kReadStoryAloud, kMenuReadAloud)}};
  m.items[0].radio = false;
  m.items[0].checked = in.readAloud;
  return m;
}

}  // namespace

std::string fixedSizeLabel(int32_t width, int32_t height) {
  return std::string(menu_texts::kFixedSizeOpen) + std::to_string(width) + "x" + std::to_string(height) + ")";
}

MenuModel buildMenuModel(const MenuInputs& in) {
  MenuModel model;
  model.dropDownLabel = std::string(menu_texts::kScreen);
  model.submenus.push_back(screenModeMenu(in));
  model.submenus.push_back(windowSizeMenu(in, model.presetCheck));
  model.submenus.push_back(windowPositionMenu(in));
  model.submenus.push_back(fullModeMenu(in));
  model.submenus.push_back(interpolationMenu(in));
  model.submenus.push_back(vSyncMenu(in));
  model.submenus.push_back(readAloudMenu(in));
  if (!in.fullScreen) {
    model.hasPinItem = true;
    model.pinLabel = std::string(in.menuLock1 ? menu_texts::kUnpin : menu_texts::kPin);
  }
  model.attachedToFrame = !in.fullScreen && in.menuLock1 != 0;
  return model;
}

}  // namespace vellum
