// The main window on a real X server (a private Xvfb): the title, Alt+Enter, the close button,
// SIGTERM and the frames the renderer presents. Skipped when no X server can be started.
#include <gtest/gtest.h>

#ifdef VELLUM_TEST_HAVE_X11
#include <csignal>
#include <cstdlib>
#include <fstream>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "platform/main_window.h"
#include "render/renderer_state.h"
#include "shell/input/message_pumps.h"
#include "shell/display/shell_window_state.h"
#include "support/game_builder.h"
#include "support/kept_environment.h"
#include "support/wait_until.h"
#include "support/x_server.h"
#include "engine_process.h"
#include "shell_test_support.h"

// Last: the X headers define macros (None, Status, ...) that the engine's names would collide with.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vellum {
namespace {

using test::gbk;
using test::triple;

class RealWindow : public test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    display = test::PrivateXServer::display();
    if (display.empty()) GTEST_SKIP() << "no X server (Xvfb) could be started";
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    engine().headless = false;
  }
  // Later tests of this process must not find a display they would open boxes on.
  test::KeptEnvironment keptDisplay{"DISPLAY"};

  Window xWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(mainWindowHandle(), &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
  }
  Display* xDisplay() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(mainWindowHandle(), &info) ? info.info.x11.display : nullptr;
  }

  // Passes until the event comes (or a generous deadline passes).
  bool waitForEvent(const InputEvent& wanted) {
    return test::waitUntil([&] { return nextInputEvent(false, false) == wanted; });
  }

  std::string display;
};

TEST_F(RealWindow, OpensWithTheTitle) {
  addScript("script/0.txt", gbk("setWindowText \"测试游戏\"\nscreen 640, 480, 640, 2\n"), 0);
  run();
  ASSERT_TRUE(mainWindowExists());
  Display* d = xDisplay();
  ASSERT_NE(d, nullptr);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* name = nullptr;
  ASSERT_EQ(XGetWindowProperty(d, xWindow(), XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False,
                               XInternAtom(d, "UTF8_STRING", False), &type, &format, &items, &after, &name),
            Success);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name), items), "测试游戏");
  XFree(name);
  XWindowAttributes attributes;
  XGetWindowAttributes(d, xWindow(), &attributes);
  EXPECT_EQ(attributes.width, 640);
  EXPECT_EQ(attributes.height, 480);
  EXPECT_EQ(attributes.map_state, IsViewable);
}

TEST_F(RealWindow, AltEnterTogglesFullScreen) {
  setUpScreen(640, 480);
  const std::string id = std::to_string(xWindow());
  // Real key presses through the X server's test extension, to the focused window.
  const std::string keys = "DISPLAY=" + display + " xdotool windowfocus --sync " + id + " key alt+Return";
  ASSERT_EQ(std::system(keys.c_str()), 0);
  EXPECT_TRUE(waitForEvent(triple(kFullScreenEvent, kFullScreenEvent, 1)));
  EXPECT_EQ(settings().fullScreen, 1);
  EXPECT_TRUE(mainWindowFullScreen());
  ASSERT_EQ(std::system(keys.c_str()), 0);
  EXPECT_TRUE(waitForEvent(triple(kFullScreenEvent, kFullScreenEvent, 0)));
  EXPECT_EQ(settings().fullScreen, 0);
}

TEST_F(RealWindow, CloseButtonIsACloseEventAndTheWindowStays) {
  setUpScreen(640, 480);
  Display* d = xDisplay();
  // What a window manager sends when its close button is clicked.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = xWindow();
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, xWindow(), False, NoEventMask, &close);
  XFlush(d);
  EXPECT_TRUE(waitForEvent(triple(kCloseEvent, kCloseEvent, 0)));
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_TRUE(mainWindowExists());
}

TEST_F(RealWindow, ShowsTheFramesDrawPresents) {
  setUpScreen(640, 480);
  // Without sprites the scene is the clear colour; the window must show it once draw presents.
  renderer().clearColour = 0xFF3366CC;
  // What is presented before the server has mapped the window is lost, as on any X server: the
  // frame is drawn again until the window shows it.
  Display* d = xDisplay();
  ASSERT_NE(d, nullptr);
  unsigned long shown = 0;
  const bool showed = test::waitUntil([&] {
    while (pumpOneMessage() == PumpResult::Taken) {
    }
    runNative(providedCommand("draw").body, "", 0);
    XSync(d, False);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, xWindow(), &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(d, xWindow(), 320, 240, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    shown = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return shown == 0x3366CCu;
  });
  EXPECT_TRUE(showed) << std::hex << shown;
}

TEST_F(RealWindow, SigtermEndsTheGameWithTheSettingsWritten) {
  test::TempFolder folder, output;
  std::ofstream(folder / "save.dat");
  test::writeScriptContainer(folder, {{"script/0.txt",
                                       "loadSetting \"/Co/\", \"Game/\"\nscreen 640, 480, 640, 2\n"
                                       "*wait\nsleep 5\ngoto *wait\n"}});
  test::EngineProcess engine({"--game", folder.path().string()},
                             {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "XDG_RUNTIME_DIR=" + runtime.path().string()},
                             output.path());
  ASSERT_TRUE(test::waitForText(folder / "Information.txt", "Src1", 10000)) << test::readFileBytes(output / "err");
  engine.signal(SIGTERM);
  EXPECT_EQ(engine.waitForExit(10000), 0) << test::readFileBytes(output / "err");
  EXPECT_TRUE(std::filesystem::exists(folder / "save/setting.dat"));
}

}  // namespace
}  // namespace vellum

#else
TEST(RealWindow, NeedsTheX11Headers) { GTEST_SKIP() << "built without the X11 headers"; }
#endif
