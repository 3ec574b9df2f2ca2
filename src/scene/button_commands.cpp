// setBtn, setBtnRect, setBtnTool, eraseBtn, clearBtn, getBtn, getBtnNow, setBtnNow and the event
// waits eventWait, eventWaitPT, eventWaitDD and eventWaitPD.
#include "scene/button_commands.h"

#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "scene/animation_tracks.h"
#include "scene/button_table.h"
#include "scene/sprite_table.h"
#include "shell/input/event_source.h"
#include "shell/input/input_state.h"

namespace vellum {

namespace {

// Shift-JIS: "ボタン番号が不正です"
constexpr char kBadButton[] = "\x83\x7b\x83\x5e\x83\x93\x94\xd4\x8d\x86\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";
// ASCII text of this engine's own check.
constexpr char kIdOutOfRange[] = " button identifier outside 0-254";

int32_t intArg(void* call, int i) { return args().getInt(call, i); }

bool checkButtonId(int32_t id) {
  if (validButtonId(id)) return true;
  errorc(ReportText().number(id).ascii(kIdOutOfRange), true);
  return false;
}

int setBtnBody(void* call) {
  setCurrentCommandName("setBtn");
  const int32_t id = intArg(call, 1), n = intArg(call, 2), mode = intArg(call, 3);
  if (checkButtonId(id) && checkSpriteNumber(n) && !registerSpriteButton(id, n, mode)) reportNoPicture(n);
  return noResult(call);
}

int setBtnRectBody(void* call) {
  setCurrentCommandName("setBtnRect");
  const int32_t id = intArg(call, 1);
  if (checkButtonId(id)) registerRectButton(id, intArg(call, 2), intArg(call, 3), intArg(call, 4), intArg(call, 5));
  return noResult(call);
}

int setBtnToolBody(void* call) {
  setCurrentCommandName("setBtnTool");
  const int32_t n = intArg(call, 1);
  size_t length = 0;
  const char* text = args().getStringLength(call, 2, &length);
  const int32_t id = buttonOfSprite(n);
  if (id < 0 || n < 0) {
    errorc(ReportText().sjis(kBadButton), true);
  } else {
    // Kept whole, up to its terminating NUL.
    std::string tip(text ? text : "", text ? length : 0);
    if (const size_t nul = tip.find('\0'); nul != std::string::npos) tip.resize(nul);
    buttonTable().entries[static_cast<size_t>(id)].tooltip = std::move(tip);
    buttonsChanged();
  }
  return noResult(call);
}

int eraseBtnBody(void* call) {
  setCurrentCommandName("eraseBtn");
  const int32_t n = intArg(call, 1);
  if (eraseSpriteButton(n) && n < kSpriteCount) {
    // A running cross-fade ends showing its new picture.
    if (sprite(n).crossFade) endTracks(n, 1u << track::CrossFade);
  }
  return noResult(call);
}

int clearBtnBody(void* call) {
  setCurrentCommandName("clearBtn");
  clearButtons();
  return noResult(call);
}

int getBtnBody(void* call) {
  setCurrentCommandName("getBtn");
  const int32_t id = intArg(call, 1);
  int32_t result = -1;
  if (validButtonId(id)) {
    const int32_t n = buttonTable().entries[static_cast<size_t>(id)].sprite;
    if (n >= 0 && n < kSpriteCount) {
      Sprite& s = sprite(n);
      if (s.inUse() && !s.textDrawing && !(s.pending & pending::kDelete)) result = n;
    }
  }
  args().returnInt(call, args().count[1](call), result);
  return 1;
}

int getBtnNowBody(void* call) {
  setCurrentCommandName("getBtnNow");
  args().returnInt(call, 1, inputState().currentButton);
  return 1;
}

int setBtnNowBody(void* call) {
  setCurrentCommandName("setBtnNow");
  inputState().currentButton = intArg(call, 1);
  return noResult(call);
}

// The triple (and the text) as outputs 1-3 (4) natively, one array for the VMs.
int eventWaitWith(void* call, const char* name, bool holdKeys, bool withText) {
  setCurrentCommandName(name);
  const InputEvent e = nextInputEvent(holdKeys, withText);
  args().beginArray(call);
  const int32_t values[] = {e.owner, e.code, e.state};
  for (int i = 1; i <= 3; ++i) {
    args().returnInt(call, i, values[i - 1]);
    args().setArrayElement(call, i);
  }
  if (withText) {
    args().returnBytes(call, 4, e.text.data(), e.text.size());
    args().setArrayElement(call, 4);
  }
  return 1;
}

int eventWaitBody(void* call) { return eventWaitWith(call, "eventWait", false, false); }
int eventWaitPtBody(void* call) { return eventWaitWith(call, "eventWaitPT", true, false); }
int eventWaitDdBody(void* call) { return eventWaitWith(call, "eventWaitDD", false, true); }
int eventWaitPdBody(void* call) { return eventWaitWith(call, "eventWaitPD", true, true); }

}  // namespace

void provideButtonCommands() {
  provideCommand("setBtn", &setBtnBody);
  provideCommand("setBtnRect", &setBtnRectBody);
  provideCommand("getBtn", &getBtnBody);
  provideCommand("setBtnTool", &setBtnToolBody);
  provideCommand("eraseBtn", &eraseBtnBody);
  provideCommand("clearBtn", &clearBtnBody);
  provideCommand("getBtnNow", &getBtnNowBody);
  provideCommand("setBtnNow", &setBtnNowBody);
  provideCommand("eventWait", &eventWaitBody);
  provideCommand("eventWaitPT", &eventWaitPtBody);
  provideCommand("eventWaitDD", &eventWaitDdBody);
  provideCommand("eventWaitPD", &eventWaitPdBody);
}

}  // namespace vellum
