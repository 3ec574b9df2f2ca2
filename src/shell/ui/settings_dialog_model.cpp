#include "shell/ui/settings_dialog_model.h"

#include <algorithm>
#include <array>

#include "shell/ui/menu_texts.h"
#include "shell/shell_messages.h"

namespace vellum {

namespace {

constexpr int32_t kFirstGroupX = 10, kFirstGroupY = 10, kSecondGroupX = 10, kSecondGroupY = 60;
// The designed places: the first group's radios, the preset grid's column pitch, the buttons.
constexpr int32_t kModeRadioX[] = {10, 110, 310, 410};
constexpr int32_t kPresetColumns = 5, kPresetPitch = 100;
constexpr int32_t kButtonW = 80, kButtonH = 20;
// Room kept between a control and the next one in its row, and inside a group box's edges.
constexpr int32_t kGap = 10, kMargin = 10;

ControlSize measured(const SettingsDialog& d, DialogControlKind kind, std::string_view label, int32_t width = 0) {
  const std::string text(label);
  return d.in.measure ? d.in.measure(kind, text, width) : designedControlSize(kind, text, width);
}

DialogControl choice(const SettingsDialog& d, DialogControlKind kind, std::string_view label, int32_t x, int32_t y,
                     DialogBinding binding, int32_t value = 0) {
  DialogControl c;
  c.kind = kind;
  c.label = std::string(label);
  c.x = x;
  c.y = y;
  const ControlSize size = measured(d, kind, label);
  c.width = size.width;
  c.height = size.height;
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

int32_t rightOf(const DialogControl& c) { return c.x + c.width; }

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

int32_t dotByDotWidth(const SettingsDialog& d) { return d.in.flag == 1 ? d.in.refW : d.in.gameW; }

std::string presetRadioLabel(const SettingsDialog& d, const WindowPreset& p) {
  return p.label + (p.width == dotByDotWidth(d) ? std::string(menu_texts::kDotByDot) : std::string());
}

// Step E4 (and the radios' first making).
void bindPresetRadios(SettingsDialog& d) {
  size_t i = 0;
  for (DialogControl& c : d.controls) {
    if (c.binding != DialogBinding::Resolution) continue;
    const WindowPreset& p = d.presets[i++];
    c.label = presetRadioLabel(d, p);
    const ControlSize size = measured(d, c.kind, c.label);
    c.width = size.width;
    c.height = size.height;
    c.value = p.width;
    c.enabled = p.width <= d.maxClientW && p.height <= d.maxClientH;
  }
}

// The widest label each column of the preset grid can show: either preset row (a rebuild switches
// them), marked as the current size (any preset can become it) and as dot by dot where it is.
std::array<int32_t, kPresetColumns> presetColumnWidths(const SettingsDialog& d) {
  std::array<int32_t, kPresetColumns> widths{};
  for (int32_t aspect : {0, 1}) {
    const WindowPresets row = buildWindowPresets(d.in.gameW, d.in.gameH, aspect, 0);
    for (int i = 0; i < kWindowPresets; ++i) {
      const WindowPreset& p = row[static_cast<size_t>(i)];
      std::string label = presetLabel(p.width, p.height) + std::string(shell_messages::kSameSize);
      if (p.width == dotByDotWidth(d)) label += menu_texts::kDotByDot;
      int32_t& widest = widths[static_cast<size_t>(i % kPresetColumns)];
      widest = std::max(widest, measured(d, DialogControlKind::Radio, label).width);
    }
  }
  return widths;
}

// Left edges for a row of controls: each at its designed place, or further right when the one
// before it would reach it.
void placeInRow(std::vector<DialogControl*> row, const std::vector<int32_t>& designedX) {
  for (size_t i = 0; i < row.size(); ++i) {
    row[i]->x = designedX[i];
    if (i > 0) row[i]->x = std::max(row[i]->x, rightOf(*row[i - 1]) + kGap);
  }
}

void buildControls(SettingsDialog& d) {
  using K = DialogControlKind;
  using B = DialogBinding;
  auto& c = d.controls;
  const int32_t ax = kFirstGroupX, ay = kFirstGroupY, bx = kSecondGroupX, by = kSecondGroupY;
  // The first group: the screen mode and, where it can switch, the aspect.
  const size_t firstGroup = c.size();
  c.push_back(box(K::GroupBox, menu_texts::kScreenMode, ax, ay, 0, 40));
  const size_t modeRadios = c.size();
  c.push_back(choice(d, K::Radio, menu_texts::kWindowed, 0, ay + 20, B::FullScreen, 0));
  c.push_back(choice(d, K::Radio, menu_texts::kFullScreen, 0, ay + 20, B::FullScreen, 1));
  if (d.in.aspectSwitchable) {
    c.push_back(choice(d, K::Radio, menu_texts::kAspect169, 0, ay + 20, B::ScreenAspect, 0));
    c.push_back(choice(d, K::Radio, menu_texts::kAspect43, 0, ay + 20, B::ScreenAspect, 1));
  }
  // The second group: the preset grid in columns wide enough for their labels, the check box and
  // the note.
  const size_t secondGroup = c.size();
  c.push_back(box(K::GroupBox, menu_texts::kResolutionGroup, bx, by, 0, 0));
  const std::array<int32_t, kPresetColumns> columnW = presetColumnWidths(d);
  std::array<int32_t, kPresetColumns> columnX{};
  columnX[0] = bx + kMargin;
  for (int i = 1; i < kPresetColumns; ++i)
    columnX[i] = columnX[i - 1] + std::max(kPresetPitch, columnW[static_cast<size_t>(i - 1)] + kGap);
  for (int i = 0; i < kWindowPresets; ++i)
    c.push_back(choice(d, K::Radio, "", columnX[static_cast<size_t>(i % kPresetColumns)],
                       by + 20 + (i / kPresetColumns) * 20, B::Resolution));
  const size_t fitCheck = c.size();
  c.push_back(choice(d, K::CheckBox, menu_texts::kResolutionWindow, bx + kMargin, by + 60, B::ResolutionWindow));
  const size_t note = c.size();
  c.push_back(box(K::Static, menu_texts::kResolutionNote, bx + kMargin, by + 80, 0, 0));
  // The bottom row: the buttons at the right edge, the check box at the left.
  const size_t detailed = c.size();
  c.push_back(box(K::Button, menu_texts::kDetailedSettings, 0, 0, kButtonW, kButtonH, B::Detailed));
  // There is no detailed-settings program to start on this system.
  c.back().enabled = false;
  c.push_back(box(K::Button, menu_texts::kStart, 0, 0, kButtonW, kButtonH, B::Start));
  c.push_back(box(K::Button, menu_texts::kEnd, 0, 0, kButtonW, kButtonH, B::End));
  const size_t showCheck = c.size();
  c.push_back(choice(d, K::CheckBox, menu_texts::kShowNextTime, 10, 0, B::StartingSetUp));
  bindPresetRadios(d);

  std::vector<DialogControl*> modeRow;
  std::vector<int32_t> modeX;
  for (size_t i = modeRadios; i < secondGroup; ++i) {
    modeRow.push_back(&c[i]);
    modeX.push_back(ax + kModeRadioX[i - modeRadios]);
  }
  placeInRow(modeRow, modeX);

  // The width: the widest row inside the groups, and the bottom row (check box, 30, three buttons
  // 10 apart), never narrower than designed.
  int32_t inner = std::max(rightOf(*modeRow.back()) - ax, columnX[kPresetColumns - 1] + columnW.back() - bx);
  inner = std::max(inner, rightOf(c[fitCheck]) - bx);
  const int32_t buttonsW = 3 * kButtonW + 30 + 10;
  d.clientW = std::max(
      {kDialogClientW, ax + inner + kMargin + kMargin, rightOf(c[showCheck]) + kGap + buttonsW + kMargin});
  const int32_t groupW = d.clientW - 2 * ax;
  c[firstGroup].width = groupW;

  // The note wraps at the group's inner width; the group grows when it needs more lines than two.
  DialogControl& noteText = c[note];
  noteText.width = groupW - 2 * kMargin;
  noteText.height = std::max(24, measured(d, K::Static, noteText.label, noteText.width).height);
  c[secondGroup].width = groupW;
  c[secondGroup].height = std::max(110, noteText.y + noteText.height + 4 - by);

  const int32_t buttonsY = by + c[secondGroup].height + 5;
  c[showCheck].y = buttonsY + 5;
  c[detailed + 2].x = d.clientW - kMargin - kButtonW;
  c[detailed + 1].x = c[detailed + 2].x - 10 - kButtonW;
  c[detailed].x = c[detailed + 1].x - 30 - kButtonW;
  for (size_t i = detailed; i < detailed + 3; ++i) c[i].y = buttonsY;
  d.clientH = std::max(kDialogClientH, buttonsY + kButtonH + 5);
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

ControlSize designedControlSize(DialogControlKind kind, const std::string& gbkLabel, int32_t width) {
  if (kind == DialogControlKind::Radio || kind == DialogControlKind::CheckBox)
    return {6 * static_cast<int32_t>(gbkLabel.size()) + 18, 12};
  return {width, 24};
}

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
