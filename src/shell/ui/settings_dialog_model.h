// The start-up settings dialog as data: its controls with their places and bound settings, the
// first-start choice of the resolution, the resolution-list rebuild after an aspect or display
// change, and what a click on each control does. The platform's in-window kit draws it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "persist/engine_settings.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

// The dialog's flag word.
constexpr int32_t kDialogRebuild = 1, kDialogClose = 2, kDialogDetailed = 4;
// The client area as designed; labels wider than the design allows widen it.
constexpr int32_t kDialogClientW = 530, kDialogClientH = 200;

enum class DialogControlKind { GroupBox, Radio, CheckBox, Static, Button };

// How big a label makes a control in the font that draws the dialog: a radio button or check box
// whole, a static text wrapped at `width`. The layout is made from these sizes.
struct ControlSize {
  int32_t width = 0, height = 0;
};
using MeasureControl = std::function<ControlSize(DialogControlKind kind, const std::string& gbkLabel, int32_t width)>;

// The measure the dialog was designed with: a choice is 6 pixels per label byte plus 18 wide and
// 12 high; a text keeps the box it is given (24 high).
ControlSize designedControlSize(DialogControlKind kind, const std::string& gbkLabel, int32_t width);
// The setting or action a control is bound to.
enum class DialogBinding { None, FullScreen, ScreenAspect, Resolution, ResolutionWindow, StartingSetUp, Detailed, Start, End };

struct DialogControl {
  DialogControlKind kind = DialogControlKind::Static;
  std::string label;  // GBK
  int32_t x = 0, y = 0, width = 0, height = 0;  // in the dialog's client area
  DialogBinding binding = DialogBinding::None;
  int32_t value = 0;  // a radio's value
  bool enabled = true;
};

// What the dialog is opened with.
struct SettingsDialogInputs {
  int32_t gameW = 0, gameH = 0, refW = 0, flag = 0;
  int32_t aspectSwitchable = 0;
  bool firstStart = false;           // no settings file exists yet
  int32_t freeMiB = 0, videoMiB = 0;  // as the system report measured them
  int32_t screenW = 0, screenH = 0;  // the primary screen
  MeasureControl measure;            // empty: designedControlSize
};

struct SettingsDialog {
  SettingsDialogInputs in;
  int32_t flagWord = 0;
  WindowPresets presets{};
  int32_t maxClientW = 0, maxClientH = 0;
  // The client area, at least kDialogClientW x kDialogClientH.
  int32_t clientW = kDialogClientW, clientH = kDialogClientH;
  std::vector<DialogControl> controls;
};

// Steps 2-4 of opening: the presets and the largest client size, the first-start resolution rule,
// then the controls. Settings the rule changes are written to `s`.
// The controls keep their designed places while their measured labels fit; the resolution radios'
// columns are as wide as the widest label each can ever show (both preset rows, with the
// "(等倍)" and ":DBD" marks), and the group boxes and the dialog widen to hold them, the buttons
// keeping to the right edge. So no two controls overlap, before or after a list rebuild.
SettingsDialog openSettingsDialog(const SettingsDialogInputs& in, EngineSettings& s);

// The first-start rule alone (for a given largest client width and preset table).
void chooseFirstStartResolution(const SettingsDialogInputs& in, int32_t maxClientW, const WindowPresets& presets,
                                EngineSettings& s);

// Moves Resolution to the matching width of the other preset row.
int32_t remapResolution(int32_t resolution, bool fourThreeRow, int32_t maxClientW);

// The list rebuild: presets for the current aspect, the largest client size, Resolution remapped,
// the ten radios relabelled, rebound and re-enabled.
void rebuildResolutionList(SettingsDialog& d, EngineSettings& s);

bool controlChecked(const DialogControl& c, const EngineSettings& s);

// A click on control `index`: stores a radio's value, toggles a check box, runs a button's action.
// `quit` is QuitFlag. Disabled controls ignore the click.
void clickDialogControl(SettingsDialog& d, size_t index, EngineSettings& s, int& quit);

// The window's close button: quit and close.
void closeSettingsDialog(SettingsDialog& d, int& quit);

}  // namespace vellum
