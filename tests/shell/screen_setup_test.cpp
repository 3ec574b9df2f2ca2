// The screen set-up on the headless display: the window and its title, the single-instance rule,
// the geometry the commands report, Information.txt, the display modes.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/engine_state.h"
#include "platform/instance_lock.h"
#include "platform/main_window.h"
#include "base/text_encoding.h"
#include "script/variables.h"
#include "shell/display/display_mode.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/display/shell_window_state.h"
#include "shell_test_support.h"

namespace vellum {
namespace {

using test::gbk;

class ScreenCommand : public test::ShellTest {
 protected:
  // A named integer the script declared (without its %).
  int32_t number(const char* name) { return variables().namedInts[name + 1]; }
  std::string log() { return test::readFileBytes(game / "Information.txt"); }
};

TEST_F(ScreenCommand, OpensTheWindowWithTheTitleAndReportsTheGeometry) {
  addScript("script/0.txt",
            gbk("setWindowText \"测试游戏\"\nscreen 1280, 720, 1280, 2\nint w\nint h\nint r\n"
                "getScreenWidth %w\ngetScreenHeight %h\ngetScreenRate %r\n"),
            0);
  run();
  ASSERT_EQ(engine().quitFlag, 0);
  ASSERT_TRUE(mainWindowExists());
  EXPECT_EQ(mainWindowTitle(), "测试游戏");
  EXPECT_EQ(shellWindow().title, gbk("测试游戏"));
  EXPECT_EQ(number("%w"), 1280);
  EXPECT_EQ(number("%h"), 720);
  EXPECT_EQ(number("%r"), 100);
  // The headless display is a 1920x1080 monitor.
  EXPECT_EQ(screenGeometry().monW, 1920);
  EXPECT_EQ(screenGeometry().monH, 1080);
  const std::string report = log();
  EXPECT_NE(report.find(gbk("测试游戏") + "\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Src2    0,    0, 1280,  720\tDest2  320,  180, 1600,  900\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Src4    0,    0, 1280,  720\tDest3 "), std::string::npos);
  EXPECT_NE(report.find("Mode : 1920 x 1080 32bit"), std::string::npos) << report;
}

TEST_F(ScreenCommand, ResolutionScalesTheRenderSize) {
  settings().resolution = 1920;
  setUpScreen(1280, 720);
  EXPECT_EQ(screenGeometry().renderW, 1920);
  EXPECT_EQ(screenGeometry().renderH, 1080);
  EXPECT_EQ(settings().windowWidth, 1920);
  EXPECT_EQ(settings().windowHeight, 1080);
}

TEST_F(ScreenCommand, SecondCopyOfTheSameGameDoesNotStart) {
  // Another process holds the title's lock.
  const std::string path = instanceLockPath("Script Engine");
  const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  // The lock belongs to the open file, so this process's own attempt is refused like another's.
  runScreenCommand(640, 480, 640, kSetUpNoDialog);
  EXPECT_EQ(engine().quitFlag, 1);
  EXPECT_FALSE(mainWindowExists());
  close(fd);
}

TEST_F(ScreenCommand, OtherGamesRunSideBySide) {
  const std::string path = instanceLockPath("Another Game");
  const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  setUpScreen(640, 480);
  EXPECT_TRUE(mainWindowExists());
  close(fd);
}

TEST_F(ScreenCommand, RunningSettingsToolStopsTheGame) {
  test::RecordedReports recorded;
  const std::string path = instanceLockPath("Engine Setting");
  const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  runScreenCommand(640, 480, 640, kSetUpNoDialog);
  EXPECT_EQ(engine().quitFlag, 1);
  ASSERT_EQ(recorded.shownBoxes.size(), 1u);
  EXPECT_EQ(recorded.shownBoxes[0], "设定工具的启动中不能实行");
  close(fd);
}

TEST_F(ScreenCommand, SetWindowTextAfterTheWindowOnlyChangesTheCaption) {
  setUpScreen(640, 480);
  addScript("script/0.txt", gbk("setWindowText \"第二\"\n"), 0);
  run();
  EXPECT_EQ(mainWindowTitle(), "第二");
  EXPECT_EQ(shellWindow().title, "Script Engine");
}

TEST_F(ScreenCommand, RendererSeamIsCalledWithTheWindow) {
  static SDL_Window* seen = nullptr;
  static int resets = 0;
  seen = nullptr;
  resets = 0;
  RendererHooks hooks;
  hooks.create = [](SDL_Window* window) {
    seen = window;
    return true;
  };
  hooks.reset = [](bool) {
    ++resets;
    return true;
  };
  setRendererHooks(hooks);
  setUpScreen(640, 480);
  setRendererHooks(keptRendererHooks);
  EXPECT_EQ(seen, mainWindowHandle());
  EXPECT_EQ(resets, 1);
}

TEST_F(ScreenCommand, RendererThatCannotStartStopsTheGame) {
  RendererHooks hooks;
  hooks.create = [](SDL_Window*) { return false; };
  setRendererHooks(hooks);
  runScreenCommand(640, 480, 640, kSetUpNoDialog);
  setRendererHooks(keptRendererHooks);
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(ScreenCommand, FullScreenCommandsSwitchModes) {
  setUpScreen(1280, 720);
  addScript("script/0.txt", "int f\nsetFullScreen 1\ngetFullScreen %f\n", 0);
  run();
  EXPECT_EQ(number("%f"), 1);
  EXPECT_TRUE(mainWindowFullScreen());
  // No event for the script's own switch.
  EXPECT_EQ(shellWindow().fullScreenChanged, 0);
  setFullScreenMode(0);
  // Mode 0 changes the display to 800x600.
  EXPECT_EQ(screenGeometry().monW, 800);
  EXPECT_EQ(screenGeometry().monH, 600);
  setFullScreenFlag(0);
  EXPECT_FALSE(mainWindowFullScreen());
  EXPECT_EQ(screenGeometry().monW, 1920);
}

TEST_F(ScreenCommand, AspectSwitchMakesA169GameFourByThree) {
  setUpScreen(1280, 720);
  addScript("script/0.txt", "int a\nint s\nsetScreenAspect 1\ngetScreenAspect %a\ngetScreenAspect2 %s\n", 0);
  run();
  EXPECT_EQ(number("%a"), 1);
  EXPECT_EQ(number("%s"), 1);
  EXPECT_EQ(screenGeometry().gameH, 960);
  EXPECT_EQ(shellWindow().aspectChanged, 1);
}

TEST_F(ScreenCommand, FixedWindowFlagTurnsTheMenuOff) {
  setUpScreen(640, 480, kSetUpNoDialog | kSetUpFixedWindow);
  EXPECT_EQ(settings().windowChange, 1);
  EXPECT_EQ(settings().windowMenu, 0);
  EXPECT_FALSE(shellWindow().menuAttached);
}

TEST_F(ScreenCommand, QuitDuringTheSettingsDialogWritesTheSettingsLines) {
  engine().quitFlag = 1;  // as the dialog leaves it when closed to quit
  EXPECT_FALSE(vellum::setUpScreen(640, 480, 640, kSetUpNoDialog));
  EXPECT_NE(log().find("FullScreen0 FullMode3 WindowWidth640"), std::string::npos) << log();
  EXPECT_EQ(log().find("Src1"), std::string::npos);
}

}  // namespace
}  // namespace vellum
