// Buttons on sprites and rectangles: registration, the index, rectangles, the hit test with its
// half-open bounds and alpha threshold, the queries, and the event waits against replayed input.
#include "engine/interpreter.h"
#include "scene/button_table.h"
#include "script/expression.h"
#include "shell/input/input_state.h"
#include "shell/display/shell_window_state.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {

const std::string kBadButton = "\x83\x7b\x83\x5e\x83\x93\x94\xd4\x8d\x86\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";

class Buttons : public SpriteScreenTest {
 protected:
  void SetUp() override {
    SpriteScreenTest::SetUp();
    if (IsSkipped()) return;
    resetButtons();  // the real table instead of the shell tests' own
    settings().cursorClear = 0;
    drain();         // the window's activation
  }

  int32_t intVariable(const std::string& name) {
    const int32_t* v = findIntVariable("%" + name);
    return v ? *v : -12345;
  }
  const ButtonEntry& entry(int id) { return buttonTable().entries[static_cast<size_t>(id)]; }
  InputEvent hoverAt(int x, int y) {
    replay("0 move " + std::to_string(x) + " " + std::to_string(y) + "\n");
    return nextEvent();
  }
  // The pointer off every button and the source idle.
  void awayAndIdle() {
    replay("0 move 0 0\n");
    drain();
  }
};

using Events = std::vector<InputEvent>;

TEST_F(Buttons, ASecondButtonOnTheSameSpriteTakesItsIndexEntry) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("int a\nint b\nsp 20, \"b.png\", 0, 0\nsp_xy 20, 100, 100\ndraw\nsetBtn 5, 20, 0\nsetBtn 6, 20, 0\n"
         "getBtn 5, %a\ngetBtn 6, %b\n");
  EXPECT_EQ(buttonOfSprite(20), 6);
  EXPECT_EQ(intVariable("a"), 20);  // the old entry keeps its contents
  EXPECT_EQ(intVariable("b"), 20);
  EXPECT_EQ(hoverAt(100, 100), triple(6, 0, kEnter));
}

TEST_F(Buttons, ReRegisteringAnIdentifierOnAnotherSpriteLeavesTheOldSpriteUnindexed) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("sp 1, \"b.png\", 0, 0\nsp 2, \"b.png\", 0, 0\ndraw\nsetBtn 7, 1, 0\nsetBtn 7, 2, 0\n");
  EXPECT_EQ(buttonOfSprite(1), -1);
  EXPECT_EQ(buttonOfSprite(2), 7);
  EXPECT_EQ(buttonTable().index.size(), 1u);
}

TEST_F(Buttons, OnlyTheLastRectangleButtonReacts) {
  script("setBtnRect 1, 10, 60, 10, 60\nsetBtnRect 2, 100, 150, 10, 60\n");
  EXPECT_EQ(hoverAt(30, 30), triple(kIdleEvent, kIdleEvent, kIdleEvent));
  EXPECT_EQ(hoverAt(120, 30), triple(2, 0, kEnter));
  EXPECT_EQ(entry(1).left, 10);  // still in the table
}

TEST_F(Buttons, RectangleTargetPointIsTheIntegerCentre) {
  script("setBtnRect 3, 100, 201, 50, 81\n");
  EXPECT_EQ(entry(3).targetX, 150);
  EXPECT_EQ(entry(3).targetY, 65);
  EXPECT_EQ(entry(3).sprite, -1);
}

TEST_F(Buttons, SpriteRectangleFollowsTheAnchorAndThePosition) {
  writePicture("w.png", 200, 100, 0xFFFFFFFF);
  script("sp 4, \"w.png\", 0, 0\nsp_xy 4, 400, 300\nsetBtn 1, 4, 0\n");
  EXPECT_EQ(entry(1).left, 300);
  EXPECT_EQ(entry(1).right, 500);
  EXPECT_EQ(entry(1).top, 250);
  EXPECT_EQ(entry(1).bottom, 350);
  EXPECT_EQ(entry(1).targetX, 400);
  EXPECT_EQ(entry(1).targetY, 300);
  // sp_x moves the button; an anchor change waits for the next setBtn.
  script("sp_x 4, 100\nsp_cxy 4, 0, 0\n");
  EXPECT_EQ(entry(1).left, 0);
  script("sp_y 4, 10\n");
  EXPECT_EQ(entry(1).left, 100);
  EXPECT_EQ(entry(1).top, 10);
}

TEST_F(Buttons, AButtonStaysEnteredWhileItsSpriteChanges) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("sp 1, \"b.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsetBtn 3, 1, 128\n");
  EXPECT_EQ(hoverAt(110, 110), triple(3, 0, kEnter));
  script("sp_a 1, 200\nfresh\ndraw2\n");
  EXPECT_EQ(drain(), (std::vector<InputEvent>{}));
}

TEST_F(Buttons, BoundsAreHalfOpen) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("sp 1, \"b.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsetBtn 3, 1, 0\n");
  struct Probe {
    int x, y;
    bool inside;
  };
  for (const Probe& p : {Probe{100, 100, true}, Probe{139, 119, true}, Probe{140, 110, false},
                         Probe{120, 120, false}, Probe{99, 110, false}, Probe{120, 99, false}}) {
    awayAndIdle();
    const InputEvent e = hoverAt(p.x, p.y);
    EXPECT_EQ(e == triple(3, 0, kEnter), p.inside) << p.x << "," << p.y << " gave " << e;
  }
}

TEST_F(Buttons, AlphaThresholdTestsThePixelUnderThePointer) {
  // Left half alpha 100, right half opaque.
  writePicture("half.png", 40, 20, [](int x, int) { return x < 20 ? 0x64FFFFFFu : 0xFFFFFFFFu; });
  script("sp 1, \"half.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsetBtn 3, 1, 101\n");
  EXPECT_EQ(hoverAt(110, 110), triple(kIdleEvent, kIdleEvent, kIdleEvent));
  EXPECT_EQ(hoverAt(130, 110), triple(3, 0, kEnter));
  // A threshold the half reaches.
  awayAndIdle();
  script("setBtn 3, 1, 100\n");
  EXPECT_EQ(hoverAt(110, 110), triple(3, 0, kEnter));
}

TEST_F(Buttons, PixelsOutsideThePictureAreTransparent) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("sp 1, \"b.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsetBtn 3, 1, 1\n");
  // The rectangle made larger than the picture: its extra part is not hit.
  buttonTable().entries[3].right = 200;
  buttonsChanged();
  EXPECT_EQ(hoverAt(150, 110), triple(kIdleEvent, kIdleEvent, kIdleEvent));
  EXPECT_EQ(hoverAt(120, 110), triple(3, 0, kEnter));
}

TEST_F(Buttons, GetBtnGivesMinusOneOnceTheSpriteIsMarkedForDeletion) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  script("int a\nint b\nint c\nint d\nsp 1, \"b.png\", 0, 0\ndraw\nsetBtn 3, 1, 0\ngetBtn 3, %a\nsp_d 1\ngetBtn 3, %b\n"
         "draw\ngetBtn 3, %c\ngetBtn 9, %d\n");
  EXPECT_EQ(intVariable("a"), 1);
  EXPECT_EQ(intVariable("b"), -1);
  EXPECT_EQ(intVariable("c"), -1);
  EXPECT_EQ(intVariable("d"), -1);
  EXPECT_EQ(buttonOfSprite(1), -1);  // the deletion took the index entry
}

TEST_F(Buttons, RefusalsAreReportedAndChangeNothing) {
  script("setBtn 3, 1, 0\nsetBtnTool 1, \"tip\"\nsetBtn 255, 1, 0\nsetBtnRect -1, 0, 10, 0, 10\neraseBtn 1\n");
  EXPECT_TRUE(reports.anyBoxContains("1" + kNoPicture));
  EXPECT_TRUE(reports.anyBoxContains(kBadButton));
  EXPECT_TRUE(reports.anyBoxContains("255 button identifier outside 0-254"));
  EXPECT_TRUE(reports.anyBoxContains("-1 button identifier outside 0-254"));
  EXPECT_TRUE(buttonTable().index.empty());
  int32_t result = 0;
  script("int g\ngetBtn 300, %g\n");
  result = intVariable("g");
  EXPECT_EQ(result, -1);
}

TEST_F(Buttons, TooltipsAreKeptWholeAndEraseAndClearEmptyTheIndex) {
  writePicture("b.png", 40, 20, 0xFFFFFFFF);
  const std::string longTip(400, 'x');
  script("sp 1, \"b.png\", 0, 0\nsp 2, \"b.png\", 0, 0\ndraw\nsetBtn 3, 1, 0\nsetBtn 4, 2, 0\nsetBtnTool 1, \"" + longTip +
         "\"\n");
  EXPECT_EQ(entry(3).tooltip, longTip);
  script("eraseBtn 1\n");
  EXPECT_EQ(entry(3).sprite, -1);
  EXPECT_EQ(buttonOfSprite(1), -1);
  EXPECT_EQ(buttonOfSprite(2), 4);
  script("clearBtn\n");
  EXPECT_TRUE(buttonTable().index.empty());
  EXPECT_EQ(entry(4).sprite, -1);
}

TEST_F(Buttons, CurrentButtonIsReadAndWritten) {
  script("int n\nsetBtnNow 12\ngetBtnNow %n\n");
  EXPECT_EQ(intVariable("n"), 12);
  EXPECT_EQ(inputState().currentButton, 12);
}

// Runs the event wait of a binding for a number of passes and gives every event that was not idle
// as "owner,code,state;".
class ButtonWaits : public Buttons {
 protected:
  std::string waitPasses(const std::string& wait) {
    addScript("script/0.txt",
              "int o\nint c\nint s\nstring t\nfor %1, 1, 60\n" + wait +
                  "\nif (%o != 256) print %o, \",\", %c, \",\", %s, \";\"\nnext\n",
              0);
    ::testing::internal::CaptureStdout();
    runInterpreter();
    return ::testing::internal::GetCapturedStdout();
  }
  void setUpButton() {
    writePicture("b.png", 40, 20, 0xFFFFFFFF);
    script("sp 1, \"b.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsetBtn 3, 1, 0\n");
  }
};

TEST_F(ButtonWaits, AClickOverAButtonIsPressAndReleaseOfThatButton) {
  setUpButton();
  replay("0 move 110 110\n0 press left\n0 release left\n");
  // The release forgets the button; the pointer still over it enters again.
  EXPECT_EQ(waitPasses("eventWait %o, %c, %s"), "3,0,1;3,1,2;3,1,3;3,0,1;");
  replay("0 move 10 10\n0 press left\n0 release left\n");
  EXPECT_EQ(waitPasses("eventWaitDD %o, %c, %s, $t"), "3,0,0;-1,1,2;-1,1,3;");
}

TEST_F(ButtonWaits, EnterOverAButtonPressesItElsewhereItIsKey13) {
  setUpButton();
  replay("0 move 110 110\n0 keydown 13\n0 keyup 13\n");
  EXPECT_EQ(waitPasses("eventWaitPT %o, %c, %s"), "3,0,1;3,1,2;3,1,3;3,0,1;");
  replay("0 move 10 10\n0 keydown 13\n0 keyup 13\n");
  EXPECT_EQ(waitPasses("eventWaitPD %o, %c, %s, $t"), "3,0,0;-1,13,2;-1,13,3;");
}

TEST_F(ButtonWaits, TheWheelTowardThePlayerIsState4AndAwayState5) {
  replay("0 wheel -1\n0 wheel 1\n");
  EXPECT_EQ(waitPasses("eventWait %o, %c, %s"), "-1,0,4;-1,0,5;");
}

}  // namespace
}  // namespace vellum::test
