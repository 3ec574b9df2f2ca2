// Scaffolding for the window and input tests: a headless engine whose screen is set up on SDL's
// offscreen display, a button table of the test's own, and replayed input fed at chosen times.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "script/command_registry.h"
#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "platform/message_queue.h"
#include "shell/input/event_source.h"
#include "shell/input/input_buttons.h"
#include "shell/input/input_replay.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_setup.h"
#include "support/engine_fixture.h"
#include "support/kept_environment.h"
#include "support/temp_folder.h"

namespace vellum::test {

// The buttons and the alpha of their sprites' pictures as a test defines them.
struct FakeButtons {
  static std::vector<InputButton>& table() {
    static std::vector<InputButton> buttons;
    return buttons;
  }
  // Alpha of every sprite's picture; positions outside [0, pictureW) x [0, pictureH) of the
  // sprite's button are outside the picture.
  static int32_t& alpha() {
    static int32_t value = 255;
    return value;
  }
  static int32_t& pictureW() {
    static int32_t value = 1 << 30;
    return value;
  }
  static void install() {
    table().clear();
    alpha() = 255;
    pictureW() = 1 << 30;
    ButtonTableView view;
    view.buttons = [] () -> const std::vector<InputButton>& { return table(); };
    view.spriteHoverable = [](int32_t) { return true; };
    view.spriteAlphaAt = [](int32_t sprite, int32_t x, int32_t) -> int32_t {
      for (const InputButton& b : table())
        if (b.sprite == sprite) return x - b.left < pictureW() ? alpha() : -1;
      return -1;
    };
    setButtonTableView(view);
  }
  static void uninstall() {
    table().clear();
    setButtonTableView(ButtonTableView{});
  }
};

inline InputButton button(int32_t id, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  InputButton b;
  b.id = id;
  b.sprite = id;
  b.left = left;
  b.top = top;
  b.right = right;
  b.bottom = bottom;
  b.targetX = (left + right) / 2;
  b.targetY = (top + bottom) / 2;
  return b;
}

class ShellTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    // The single-instance lock of each test lives in a folder of its own.
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    registerAllCommands();
    FakeButtons::install();
    keptRendererHooks = rendererHooks();
  }
  void TearDown() override {
    FakeButtons::uninstall();
    // A test may put hooks of its own between the shell and the renderer; later tests get the
    // renderer back.
    setRendererHooks(keptRendererHooks);
    EngineTest::TearDown();
  }

  // screen with the dialog turned off; the window is active once its first message is pumped.
  void setUpScreen(int32_t gameW, int32_t gameH, int32_t flags = kSetUpNoDialog) {
    runScreenCommand(gameW, gameH, gameW, flags);
    ASSERT_EQ(engine().quitFlag, 0);
  }

  // Replays the lines as if they had all come due.
  void replay(const std::string& lines) {
    std::vector<ReplayedEvent> events;
    std::string error;
    ASSERT_TRUE(parseInputReplay(lines, events, error)) << error;
    startInputReplay(std::move(events), 0);
    feedReplayedInputAt(0x7FFFFFFF);
  }

  // Passes until one gives something other than idle (at most `limit` passes).
  InputEvent nextEvent(bool holdKeys = false, int limit = 20) {
    InputEvent e;
    for (int i = 0; i < limit; ++i) {
      e = nextInputEvent(holdKeys, true);
      if (!(e == InputEvent{})) return e;
    }
    return e;
  }

  // Every event until the source goes idle.
  std::vector<InputEvent> drain(bool holdKeys = false) {
    std::vector<InputEvent> events;
    for (int idle = 0; idle < 3 && events.size() < 100;) {
      const InputEvent e = nextInputEvent(holdKeys, true);
      if (e == InputEvent{}) {
        ++idle;
      } else {
        idle = 0;
        events.push_back(e);
      }
    }
    return events;
  }

  TempFolder runtime;
  RendererHooks keptRendererHooks;
  // Set for each test and put back after it: the runtime folder goes with the test.
  KeptEnvironment keptRuntime{"XDG_RUNTIME_DIR"}, keptDriver{"SDL_VIDEODRIVER"};
};

inline InputEvent triple(int32_t owner, int32_t code, int32_t state) {
  InputEvent e;
  e.owner = owner;
  e.code = code;
  e.state = state;
  return e;
}

}  // namespace vellum::test

namespace vellum {
inline std::ostream& operator<<(std::ostream& out, const InputEvent& e) {
  return out << "(" << e.owner << ", " << e.code << ", " << e.state << ")";
}
}  // namespace vellum
