// A message window without a screen: settings and commands through the interpreter, story lines
// laid out directly so each call's result can be checked, and a clock the test moves.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/engine_state.h"
#include "script/command_registry.h"
#include "engine/startup.h"
#include "persist/engine_settings.h"
#include "script/script_state.h"
#include "support/engine_fixture.h"
#include "support/fake_clock.h"
#include "text/backlog.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace vellum::test {

class MessageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    registerAllCommands();
    engine().headless = false;  // lines laid out here print nothing unless a test asks
    fakeNow = 1000;
    setMessageClock(&fakeClock);
  }
  void TearDown() override {
    setMessageClock(nullptr);
    EngineTest::TearDown();
  }

  // A clean engine within one test (table-driven cases).
  void restart() {
    resetAllState();
    engine().exeDirectory = game.withSlash();
    registerAllCommands();
  }

  // Creates the window with 20 columns, 24-pixel text and the given row pitch parts, then runs
  // `extra` (script lines, UTF-8).
  void createWindow(const std::string& extra = "", int capacity = 400) {
    script("setMessCreate " + std::to_string(capacity) + ", 100\nsetMessWH 20, 3, 24, 8, 0, 24\n" + extra);
  }
  void script(const std::string& utf8) {
    addScript("script/0.txt", gbk(utf8), 0);
    run();
  }

  // Lays out one line (UTF-8) as the interpreter would; next/after are the next lines' lengths.
  int layout(const std::string& utf8, int next = 1, int after = 1) {
    const std::string bytes = gbk(utf8);
    return LayoutMessageLine(bytes.c_str(), static_cast<int>(bytes.size()), &next, &after);
  }
  // Lays out the line to its end, resuming after every wait.
  void layoutWhole(const std::string& utf8, int next = 1, int after = 1) {
    scriptState().textOffset = 0;
    for (int i = 0; i < 100; ++i) {
      layout(utf8, next, after);
      if (scriptState().textOffset == 0) return;
    }
    FAIL() << "the line never ended";
  }

  static std::string logText() { return backlog().current().text; }
  static CString& text() { return mainText(); }
  static int waited() { return scriptState().messageWaited; }
};

}  // namespace vellum::test
