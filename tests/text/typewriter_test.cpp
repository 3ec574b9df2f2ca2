// The typewriter: one character per TextSpeed milliseconds, pause points after stops, showing at
// once, and completing a run.
#include "message_fixture.h"

namespace vellum::test {
namespace {

class Typewriter : public MessageTest {
 protected:
  // The clock time at which the character at `index` first shows, stepping 1 ms from the start.
  int firstShown(int index) {
    const uint32_t start = fakeNow;
    formatMessDraw();
    for (int t = 0; t < 2000; ++t) {
      fakeNow = start + static_cast<uint32_t>(t);
      setMessDraw();
      if (text().shown > index) return t;
    }
    return -1;
  }
};

TEST_F(Typewriter, EachPausePointCostsOneCharacterPeriod) {
  settings().liveTextSpeed = 20;
  settings().pointWait = 0;
  createWindow();
  layoutWhole("甲、乙丙");
  const int plain = firstShown(2);
  restart();
  settings().liveTextSpeed = 20;
  settings().pointWait = 4;
  createWindow();
  layoutWhole("甲、乙丙");
  const int paused = firstShown(2);
  EXPECT_EQ(plain, 60);
  EXPECT_EQ(paused - plain, 80);
}

TEST_F(Typewriter, SpeedZeroShowsEverythingAtOnce) {
  settings().liveTextSpeed = 0;
  createWindow();
  layoutWhole("甲乙丙");
  formatMessDraw();
  EXPECT_EQ(setMessDraw(), 0);
  EXPECT_EQ(text().shown, 3);
  EXPECT_EQ(text().quad(2)[0].colour, 0xFFFFFFFFu);
}

TEST_F(Typewriter, CharactersFadeInOver256Milliseconds) {
  settings().liveTextSpeed = 10;
  settings().messageFade = 1;
  createWindow();
  layoutWhole("甲乙");
  formatMessDraw();
  EXPECT_EQ(text().quad(0)[0].colour, 0x00FFFFFFu);
  fakeNow += 10;
  EXPECT_EQ(setMessDraw(), 1);
  fakeNow += 100;
  setMessDraw();
  EXPECT_EQ(text().quad(0)[0].colour >> 24, 100u);
  fakeNow += 200;
  EXPECT_EQ(setMessDraw(), 1);
  EXPECT_EQ(text().quad(0)[0].colour, 0xFFFFFFFFu);
  fakeNow += 300;
  setMessDraw();
  EXPECT_EQ(setMessDraw(), 0);  // both finished
}

TEST_F(Typewriter, EndMessDrawShowsAllAndKeepsTheBaseOnTheSamePage) {
  settings().liveTextSpeed = 20;
  createWindow();
  scriptState().postMessageSub = 1;
  layout("甲乙@丙");
  formatMessDraw();
  endMessDraw();
  EXPECT_EQ(text().shown, 2);
  EXPECT_EQ(text().typewriterBase, 2);  // a wait of kind 1 continues the page
  layout("甲乙@丙");
  formatMessDraw();
  EXPECT_EQ(text().shown, 2);
  EXPECT_EQ(text().quad(0)[0].colour, 0xFFFFFFFFu);  // earlier text stays visible
}

}  // namespace
}  // namespace vellum::test
