// The effect command: the preparation of its type, the frame loop that the player may cut short,
// the clean-up that commits; and existStretch and sc_mb.
#include "scene/effect_commands.h"

#include "base/clock.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "platform/virtual_keys.h"
#include "render/renderer_state.h"
#include "scene/easing.h"
#include "scene/lookahead.h"
#include "scene/prefetch_workers.h"
#include "scene/transition_scenes.h"
#include "script/read_mode.h"
#include "script/script_state.h"
#include "shell/input/message_pumps.h"
#include "shell/display/shell_window_state.h"

namespace vellum {

namespace {

// GBK: " 不存在的演出"
constexpr char kNoSuchTransition[] = " \xb2\xbb\xb4\xe6\xd4\xda\xb5\xc4\xd1\xdd\xb3\xf6";
// ASCII texts of this engine's own checks.
constexpr char kBadType[] = " effect type outside 0-4";
constexpr char kBadEasing[] = " easing outside -20-20";

constexpr int32_t kWait = 0, kFade = 1, kNamed = 2, kRule = 3, kMosaic = 4;

void commitPending() {
  if (renderer().callbacks.commitPending) renderer().callbacks.commitPending();
}

// Whether the message just taken ends the transition (EffectCancel): Enter, Ctrl, a full left
// click, or the wheel turned toward the player by the threshold.
struct CancelWatch {
  bool pressed = false;
  int32_t wheel = 0;
  bool ends(const WindowMessage& m) {
    switch (m.kind) {
      case MessageKind::KeyDown: return m.vk == vk::Return || m.vk == vk::Control;
      case MessageKind::ButtonDown:
        if (m.button == MouseButton::Left) pressed = true;
        return false;
      case MessageKind::ButtonUp: return m.button == MouseButton::Left && pressed;
      case MessageKind::Wheel: {
        const int32_t threshold = shellWindow().wheelThreshold;
        if (threshold == 0) return false;
        wheel += m.wheelDelta;
        if (wheel >= threshold) wheel = 0;
        return wheel <= -threshold;
      }
      default: return false;
    }
  }
};

void frameLoop(int32_t type, int32_t duration, int32_t easing) {
  const uint32_t start = tickMilliseconds();
  uint32_t elapsed = 0;
  if (duration <= 0) return;
  CancelWatch cancel;
  for (;;) {
    const PumpResult pumped = pumpOneMessage();
    if (pumped == PumpResult::Quit) {
      engine().quitFlag = 1;
      break;
    }
    if (engine().quitFlag || shellWindow().closeRequest) break;
    if (pumped == PumpResult::Taken) {
      if (settings().effectCancel && cancel.ends(currentMessage())) {
        clearCurrentMessage();  // consumed
        break;
      }
      // The input loop does not see again what the transition has already taken.
      markCurrentMessageExamined();
    }
    runFrame(type, static_cast<int>(elapsed), duration, easing);
    elapsed = tickMilliseconds() - start;
    if (elapsed >= static_cast<uint32_t>(duration)) break;
  }
}

// The type's clean-up: the scene quad back to what the next frame expects, then the commit.
void cleanUp(int32_t type) {
  RendererState& r = renderer();
  if (type == kFade) {
    for (SceneVertex& v : r.sceneQuad) v.colour = 0xFFFFFFFF;
  } else if (type == kNamed || type == kMosaic) {
    setSceneQuadRect({0, 0, r.display.renderW, r.display.renderH});
  }
  commitPending();
}

bool prepare(int32_t type, const std::string& name) {
  switch (type) {
    case kNamed: {
      const int32_t found = findNamedTransition(name);
      if (found < 0) {
        errorc(ReportText().gbk(name).gbk(kNoSuchTransition), true);
        return false;
      }
      transitionState().selectedNamed = found;
      return true;
    }
    case kRule: return prepareRule(name);
    default: return true;
  }
}

int effectBody(void* call) {
  setCurrentCommandName("effect");
  const int32_t type = args().getInt(call, 1), time = args().getInt(call, 2), easing = args().getInt(call, 3);
  const char* name = args().getString(call, 4);
  const int32_t softness = args().getInt(call, 5);
  const bool lookahead = args().count[0](call) >= 6 && args().getInt(call, 6) != 0;
  runEffect(type, time, easing, name ? name : "", softness, lookahead);
  args().returnNothing(call);
  return 1;
}

int existStretchBody(void* call) {
  setCurrentCommandName("existStretch");
  const char* name = args().getString(call, 1);
  args().returnInt(call, args().count[1](call), findNamedTransition(name ? name : "") >= 0 ? 1 : 0);
  return 1;
}

int scMbBody(void* call) {
  setCurrentCommandName("sc_mb");
  renderer().motionBlur = args().getInt(call, 1) != 0;
  transitionState().motionBlurAlpha = args().getInt(call, 2) & 0xFF;
  args().returnNothing(call);
  return 1;
}

}  // namespace

void runEffect(int32_t type, int32_t time, int32_t easing, const std::string& name, int32_t softness, bool lookahead) {
  const ReadModeState& modes = readMode();
  if (modes.skipActive || modes.transientSkip || scriptState().fastForwardMode) {
    commitPending();
    return;
  }
  bool ready = true;
  if (type < kWait || type > kMosaic) {
    errorc(ReportText().number(type).ascii(kBadType), true);
    ready = false;
  } else if (easing < kEasingMin || easing > kEasingMax) {
    errorc(ReportText().number(easing).ascii(kBadEasing), true);
    ready = false;
  }
  // A time of 0 (or less) commits at once.
  ready = ready && time > 0 && renderer().device && prepare(type, name);
  const int32_t s = (softness - 1) & 0x1FF;
  // With two or more processors the look-ahead pass decodes on its own thread while the frames
  // are drawn; with one it runs after the transition.
  const bool alongside = ready && lookahead && PrefetchWorkers::processorCount() >= 2 && startBackgroundLookahead();
  if (ready) {
    transitionState().softness = s;
    shellWindow().transitionRunning = s;
    frameLoop(type, time | 2, easing);
  }
  shellWindow().transitionRunning = 0;
  cleanUp(ready ? type : kWait);
  runFrame(0, 0, 0, 0);
  if (alongside) {
    finishBackgroundLookahead();
  } else if (lookahead && lookaheadAllowed()) {
    runLookaheadPass();
  }
}

void provideTransitionCommands() {
  provideCommand("effect", &effectBody);
  provideCommand("existStretch", &existStretchBody);
  provideCommand("sc_mb", &scMbBody);
}

}  // namespace vellum
