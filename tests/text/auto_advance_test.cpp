// Auto mode end to end: the deadline the message window accumulates reaches the input source,
// which reports the auto-advance event once the clock passes it; committing the page clears it.
#include "base/clock.h"
#include "persist/engine_settings.h"
#include "script/read_mode.h"
#include "shell/input/event_source.h"
#include "shell/shell_test_support.h"
#include "support/fake_clock.h"
#include "text/message_window.h"

namespace vellum::test {
namespace {

class AutoAdvanceFromMessages : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    // The deadline is read on the engine's clock, which the test moves.
    fakeNow = 100000;
    setTickSource(&fakeClock);
    setUpScreen(640, 480);
    settings().cursorClear = 0;
    settings().powerSaver = 0;
    drain();
  }
  void TearDown() override {
    setAutoAdvanceDeadline(0);
    setTickSource(nullptr);
    ShellTest::TearDown();
  }
  // Two passes: the source looks at the deadline on every other one.
  bool advanced() {
    const InputEvent a = nextInputEvent(false, false), b = nextInputEvent(false, false);
    return a.owner == kAutoAdvanceEvent || b.owner == kAutoAdvanceEvent;
  }
};

TEST_F(AutoAdvanceFromMessages, TheLineEndWaitSetsTheDeadlineAndACommitClearsIt) {
  settings().liveTextSpeed = 0;
  settings().autoChar = 0;
  settings().liveAutoWait = 80;
  addScript("script/0.txt", "setMessCreate 400, 100\nsetMessWH 20, 3, 24, 8, 0, 24\nsetMessLine 1, 0\nsetAuto 1\n", 0);
  run();
  ASSERT_TRUE(readMode().autoActive);
  const std::string line = gbk("甲乙");
  const int next = 1, after = 1;
  LayoutMessageLine(line.c_str(), static_cast<int>(line.size()), &next, &after);
  EXPECT_FALSE(advanced());
  fakeNow += 79;
  EXPECT_FALSE(advanced());
  fakeNow += 2;
  EXPECT_TRUE(advanced());
  commitBacklogEntry(0);
  EXPECT_FALSE(advanced());
}

}  // namespace
}  // namespace vellum::test
