#include "shell/settings_dialog_model.h"

#include <algorithm>

#include "shell/menu_texts.h"

namespace vellum {

namespace {

constexpr int32_t kFirstGroupX = 10, kFirstGroupY = 10, kSecondGroupX = 10, kSecondGroupY = 60;

// Radios and check boxes: 12 pixels high, 6 per text byte plus 18 wide.
DialogControl choice(DialogControlKind kind, std::string_view label, int32_t x, int32_t y, DialogBinding binding,
                     int32_t value = 0) {
  DialogControl c;
  c.kind = kind;
  c.label = std::string(label);
  c.x = x;
  c.y = y;
  c.width = 6 * static_cast<int32_t>(label.size()) + 18;
  c.height = 12;
  c.binding = binding;
  c.value = value;
  return c;
}

DialogControl box(DialogControlKind kind, std::string_view label, int32_t x, int32_t y, int32_t w, int32_t h,
                  DialogBinding binding = DialogBinding::None) {
  DialogControl c;
  c.kind = kind;
  c.label = std::string(label);
  c.x = x;
  c.y = y;
  c.width = w;
  c.height = h;
  c.binding = binding;
  return c;
}

bool fourThreeRow(const SettingsDialog& d, const EngineSettings& s) { return !d.in.aspectSwitchable || s.screenAspect == 1; }

// Step E2.
void computeMaxClient(SettingsDialog& d) {
  int32_t sw = d.in.screenW, sh = d.in.screenH;
  const int32_t w0 = d.presets[0].width, h0 = d.presets[0].height;
  if (w0 <= 0 || h0 <= 0) {
    d.maxClientW = sw;
    d.maxClientH = sh;
    return;
  }
  if (static_cast<double>(sh) / h0 > static_cast<double>(sw) / w0) sh = sw * h0 / w0;
  d.maxClientH = sh;
  d.maxClientW = w0 * sh / h0;
}

std::string presetRadioLabel(const SettingsDialog& d, const WindowPreset& p) {
  const int32_t dotByDot = d.in.flag == 1 ? d.in.refW : d.in.gameW;
  return p.label + (p.width == dotByDot ? std::string(menu_texts::kDotByDot) : std::string());
}

// Step E4 (and the radios' first making).
void bindPresetRadios(SettingsDialog& d) {
  size_t i = 0;
  for (DialogControl& c : d.controls) {
    if (c.binding != DialogBinding::Resolution) continue;
    const WindowPreset& p = d.presets[i++];
    c.label = presetRadioLabel(d, p);
    c.width = 6 * static_cast<int32_t>(c.label.size()) + 18;
    c.value = p.width;
    c.enabled = p.width <= d.maxClientW && p.height <= d.maxClientH;
  }
}

void buildControls(SettingsDialog& d) {
  using K = DialogControlKind;
  using B = DialogBinding;
  auto& c = d.controls;
  const int32_t ax = kFirstGroupX, ay = kFirstGroupY, bx = kSecondGroupX, by = kSecondGroupY;
  c.push_back(box(K::GroupBox, menu_texts::kScreenMode, ax, ay, 510, 40));
  c.push_back(choice(K::Radio, menu_texts::kWindowed, ax + 10, ay + 20, B::FullScreen, 0));
  c.push_back(choice(K::Radio, menu_texts::kFullScreen, ax + 110, ay + 20, B::FullScreen, 1));
  if (d.in.aspectSwitchable) {
    c.push_back(choice(K::Radio, menu_texts::kAspect169, ax + 310, ay + 20, B::ScreenAspect, 0));
    c.push_back(choice(K::Radio, menu_texts::kAspect43, ax + 410, ay + 20, B::ScreenAspect, 1));
  }
  c.push_back(box(K::GroupBox, menu_texts::kResolutionGroup, bx, by, 510, 110));
  for (int i = 0; i < kWindowPresets; ++i)
    c.push_back(choice(K::Radio, "", bx + 10 + (i % 5) * 100, by + 20 + (i / 5) * 20, B::Resolution));
  c.push_back(choice(K::CheckBox, menu_texts::kResolutionWindow, bx + 10, by + 60, B::ResolutionWindow));
  c.push_back(box(K::Static, menu_texts::kResolutionNote, bx + 10, by + 80, 490, 24));
  c.push_back(box(K::Button, menu_texts::kDetailedSettings, 240, 175, 80, 20, B::Detailed));
  // There is no detailed-settings program to start on this system.
  c.back().enabled = false;
  c.push_back(box(K::Button, menu_texts::kStart, 350, 175, 80, 20, B::Start));
  c.push_back(box(K::Button, menu_texts::kEnd, 440, 175, 80, 20, B::End));
  c.push_back(choice(K::CheckBox, menu_texts::kShowNextTime, 10, 180, B::StartingSetUp));
  bindPresetRadios(d);
}

template <class Settings>
auto boundSetting(DialogBinding b, Settings& s) -> decltype(&s.fullScreen) {
  switch (b) {
    case DialogBinding::FullScreen: return &s.fullScreen;
    case DialogBinding::ScreenAspect: return &s.screenAspect;
    case DialogBinding::Resolution: return &s.resolution;
    case DialogBinding::ResolutionWindow: return &s.resolutionWindow;
    case DialogBinding::StartingSetUp: return &s.startingSetUp;
    default: return nullptr;
  }
}

}  // namespace

void chooseFirstStartResolution(const SettingsDialogInputs& in, int32_t maxClientW, const WindowPresets& presets,
                                EngineSettings& s) {
  if (in.firstStart) {
    if (in.gameW != in.refW && in.freeMiB >= 2000 && in.videoMiB >= 256) {
      const int32_t limit = std::min(maxClientW, 1366);
      const int32_t previous = s.resolution;
      int32_t chosen = previous;
      for (const WindowPreset& p : presets)
        if (p.width < limit) chosen = p.width;
      s.resolution = (chosen > previous && chosen < 1280) ? previous : chosen;
      s.windowWidth = s.resolution;
    } else {
      s.windowWidth = in.gameW;
    }
  }
  const bool known = std::any_of(presets.begin(), presets.end(), [&](const WindowPreset& p) { return p.width == s.resolution; });
  if (!known) s.resolution = in.gameW;
}

int32_t remapResolution(int32_t r, bool fourThree, int32_t maxClientW) {
  if (fourThree) {
    switch (r) {
      case 480: return 400;
      case 1024: return maxClientW < 1024 ? 640 : 1024;
      case 1280: return maxClientW < 1280 ? 960 : 1280;
      case 1366: return maxClientW < 1280 ? 1024 : 1280;
      case 1600: return maxClientW < 1440 ? 1200 : 1440;
      case 1920: return maxClientW < 1600 ? 1440 : 1600;
      default: return r;
    }
  }
  switch (r) {
    case 400: return 480;
    case 1200: return 1280;
    case 1400: return 1440;
    default: return r;
  }
}

SettingsDialog openSettingsDialog(const SettingsDialogInputs& in, EngineSettings& s) {
  SettingsDialog d;
  d.in = in;
  d.presets = buildWindowPresets(in.gameW, in.gameH, s.screenAspect, s.resolution);
  computeMaxClient(d);
  chooseFirstStartResolution(in, d.maxClientW, d.presets, s);
  // The labels mark the preset of the (possibly new) Resolution.
  d.presets = buildWindowPresets(in.gameW, in.gameH, s.screenAspect, s.resolution);
  buildControls(d);
  return d;
}

void rebuildResolutionList(SettingsDialog& d, EngineSettings& s) {
  d.presets = buildWindowPresets(d.in.gameW, d.in.gameH, s.screenAspect, s.resolution);
  computeMaxClient(d);
  s.resolution = remapResolution(s.resolution, fourThreeRow(d, s), d.maxClientW);
  d.presets = buildWindowPresets(d.in.gameW, d.in.gameH, s.screenAspect, s.resolution);
  bindPresetRadios(d);
}

bool controlChecked(const DialogControl& c, const EngineSettings& s) {
  const int32_t* v = boundSetting(c.binding, s);
  if (!v) return false;
  return c.kind == DialogControlKind::CheckBox ? *v != 0 : *v == c.value;
}

void clickDialogControl(SettingsDialog& d, size_t index, EngineSettings& s, int& quit) {
  if (index >= d.controls.size()) return;
  const DialogControl& c = d.controls[index];
  if (!c.enabled) return;
  switch (c.binding) {
    case DialogBinding::Detailed: d.flagWord = kDialogClose | kDialogDetailed; return;
    case DialogBinding::Start: d.flagWord = kDialogClose; return;
    case DialogBinding::End:
      d.flagWord = kDialogClose;
      quit = 1;
      return;
    default: break;
  }
  int32_t* v = boundSetting(c.binding, s);
  if (!v) return;
  if (c.kind == DialogControlKind::CheckBox) {
    *v = *v ? 0 : 1;
    return;
  }
  const bool changed = *v != c.value;
  *v = c.value;
  if (changed && c.binding == DialogBinding::ScreenAspect) d.flagWord |= kDialogRebuild;
}

void closeSettingsDialog(SettingsDialog& d, int& quit) {
  quit = 1;
  d.flagWord |= kDialogClose;
}

}  // namespace vellum
