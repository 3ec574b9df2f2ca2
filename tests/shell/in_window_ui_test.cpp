// The menu bar and the start-up settings dialog drawn in the game's window, clicked through with
// replayed input in headless games; each click's picture is saved and checked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image/image.h"
#include "image/image_io.h"
#include "persist/persist_fixture.h"
#include "platform/ui_overlay.h"
#include "script/builtins/packed_game.h"
#include "shell/ui/settings_dialog_model.h"
#include "shell/ui/ui_views.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;
using test::PackedGame;
using test::ScopedEnvironment;

class InWindowUi : public ::testing::Test {
 protected:
  test::ProcessResult run(const std::string& script, const std::string& input) {
    PackedGame game(script);
    game.file("input.txt", input);
    return game.run("scramble", "--input " + (game.folder() / "input.txt").string());
  }
  // The shot's pixels as 0xRRGGBB, row by row; empty when it cannot be read.
  struct Shot {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const {
      return x >= 0 && y >= 0 && x < width && y < height ? pixels[static_cast<size_t>(y) * width + x] : 0xDEAD;
    }
  };
  Shot shot(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "ui-%03d.png", number);
    const std::string bytes = test::readFileBytes(shots / name);
    Shot s;
    Image* image = loadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!image) return s;
    s.width = image->width;
    s.height = image->height;
    for (int32_t i = 0; i < s.width * s.height; ++i) s.pixels.push_back(image->pixels[i] & 0xFFFFFF);
    freeImage(image);
    return s;
  }
  uint32_t pixel(int number, int x, int y) { return shot(number).at(x, y); }
  size_t shotCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(shots.path())) ++n;
    return n;
  }

  // The single-instance lock lives in a folder of this test's own.
  test::TempFolder runtime;
  ScopedEnvironment runtimeFolder{"XDG_RUNTIME_DIR", runtime.path().string()};
  test::TempFolder shots;
  ScopedEnvironment shotFolder{"VELLUM_UI_SHOTS", shots.path().string()};
  ScopedEnvironment dialogs{"VELLUM_HEADLESS_DIALOGS", "1"};
};

// A windowed 640x480 game that waits about 1.2 s and prints its full-screen flag.
constexpr const char* kWaitingGame =
    "int f\nscreen 640, 480, 640, 2\ndraw\nfor %1, 1, 120\nsleep 10\nnext\ngetFullScreen %f\nprint \"full=\", %f\n";

TEST_F(InWindowUi, TheMenuBarSwitchesToFullScreen) {
  // The bar is pinned at the top; "画面" sits at its right end, its first submenu opens to the
  // left, and "全屏" is that submenu's second item.
  const auto result = run(kWaitingGame,
                          "300 move 300 100\n400 move 585 8\n500 press left 585 8\n550 release left 585 8\n"
                          "650 move 540 30\n750 move 470 30\n850 move 430 47\n950 press left 430 47\n"
                          "1000 release left 430 47\n");
  EXPECT_EQ(result.out, "full=1");
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_GE(shotCount(), 6u);
  // Shot 2: the drop-down is open: its items on a light panel, the game black beside it.
  EXPECT_GT(pixel(2, 512, 125) & 0xFF, 0xC0u);
  EXPECT_EQ(pixel(2, 300, 200), 0x000000u);
  // Shot 4: the screen-mode submenu left of the drop-down, with its own light panel.
  EXPECT_GT(pixel(4, 408, 96) & 0xFF, 0xC0u);
  // The bar itself is light across the top.
  EXPECT_GT(pixel(2, 100, 5) & 0xFF, 0xC0u);
}

TEST_F(InWindowUi, ClicksOnTheBarsEmptyStretchReachTheGame) {
  const auto result = run(kWaitingGame, "300 move 100 8\n400 press left 100 8\n450 release left 100 8\n");
  EXPECT_EQ(result.out, "full=0");
  EXPECT_EQ(shotCount(), 0u);
}

// The settings dialog of `screen W, H, REF, 0` as the engine lays it out: in this process, from
// the same font. Its controls sit 13 pixels below the window's top (the title bar).
constexpr int32_t kTitleBar = 13;

SettingsDialog dialogLayout(int32_t gameW, int32_t gameH, int32_t refW) {
  SettingsDialogInputs in;
  in.gameW = gameW;
  in.gameH = gameH;
  in.refW = refW;
  in.aspectSwitchable = 1;
  in.screenW = 1920;
  in.screenH = 1080;
  in.measure = &measureDialogControl;
  EngineSettings s;
  s.resolution = gameW;
  SettingsDialog d = openSettingsDialog(in, s);
  ui::shutdown();
  return d;
}

const DialogControl& controlFor(const SettingsDialog& d, DialogBinding binding, int32_t value = 0) {
  for (const DialogControl& c : d.controls)
    if (c.binding == binding && (c.kind != DialogControlKind::Radio || c.value == value)) return c;
  ADD_FAILURE() << "no such control";
  return d.controls.front();
}

// A left click in the middle of the control, pressed at `ms` and released 50 ms later.
std::string clickLines(const SettingsDialog& d, int ms, DialogBinding binding, int32_t value = 0) {
  const DialogControl& c = controlFor(d, binding, value);
  const std::string at = std::to_string(c.x + c.width / 2) + " " + std::to_string(c.y + kTitleBar + c.height / 2);
  return std::to_string(ms) + " press left " + at + "\n" + std::to_string(ms + 50) + " release left " + at + "\n";
}

constexpr const char* kDialogGame = "int f\nscreen 640, 480, 640, 0\ngetFullScreen %f\nprint \"full=\", %f\n";

TEST_F(InWindowUi, TheSettingsDialogChoosesFullScreenAndStarts) {
  const SettingsDialog d = dialogLayout(640, 480, 640);
  const auto result =
      run(kDialogGame, clickLines(d, 500, DialogBinding::FullScreen, 1) + clickLines(d, 700, DialogBinding::Start));
  EXPECT_EQ(result.out, "full=1");
  ASSERT_GE(shotCount(), 4u);
  // The first picture: the dialog on its light face with the title bar above.
  EXPECT_GT(pixel(1, 265, 100) & 0xFF, 0xC0u);
}

TEST_F(InWindowUi, TheSettingsDialogsEndButtonQuits) {
  const auto result = run(kDialogGame, clickLines(dialogLayout(640, 480, 640), 500, DialogBinding::End));
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitCode, 0);
}

TEST_F(InWindowUi, ClosingTheSettingsDialogQuits) {
  const auto result = run(kDialogGame, "500 close\n");
  EXPECT_EQ(result.out, "");
}

TEST_F(InWindowUi, TheGreyedDetailedSettingsButtonDoesNothing) {
  const SettingsDialog d = dialogLayout(640, 480, 640);
  const auto result =
      run(kDialogGame, clickLines(d, 500, DialogBinding::Detailed) + clickLines(d, 700, DialogBinding::Start));
  EXPECT_EQ(result.out, "full=0");
}

// The first screen of a new 1280x720 game: "1280x 720(等倍):DBD", the longest label, has a column
// wide enough; between any two controls side by side the dialog's face shows, nothing drawn.
TEST_F(InWindowUi, TheSettingsDialogsControlsStayApartOnScreen) {
  const SettingsDialog d = dialogLayout(1280, 720, 1280);
  const auto result = run("screen 1280, 720, 1280, 0\nprint \"started\"\n", clickLines(d, 500, DialogBinding::Start));
  EXPECT_EQ(result.out, "started");
  ASSERT_GE(shotCount(), 1u);
  const Shot first = shot(1);
  ASSERT_EQ(first.width, d.clientW);
  ASSERT_EQ(first.height, d.clientH + kTitleBar);
  const uint32_t face = first.at(5, kTitleBar + 100);
  EXPECT_GT(face & 0xFF, 0xC0u);
  // The current size's radio, dot by dot, is drawn where the layout puts it.
  const DialogControl& current = controlFor(d, DialogBinding::Resolution, 1280);
  EXPECT_NE(current.label.find(":DBD"), std::string::npos);
  int drawn = 0;
  for (int x = current.x; x < current.x + current.width; ++x)
    for (int y = current.y; y < current.y + current.height; ++y) drawn += first.at(x, y + kTitleBar) != face;
  EXPECT_GT(drawn, current.width);
  // Every pair of neighbours in a row: the strip between them is bare face.
  int strips = 0;
  for (const DialogControl& left : d.controls) {
    if (left.kind == DialogControlKind::GroupBox || left.kind == DialogControlKind::Static) continue;
    const DialogControl* right = nullptr;
    for (const DialogControl& c : d.controls)
      if (c.kind != DialogControlKind::GroupBox && c.kind != DialogControlKind::Static && c.y == left.y &&
          c.x > left.x && (!right || c.x < right->x))
        right = &c;
    if (!right) continue;
    ++strips;
    ASSERT_GE(right->x - (left.x + left.width), 4) << left.label << " / " << right->label;
    for (int x = left.x + left.width + 1; x < right->x - 1; ++x)
      for (int y = left.y; y < left.y + left.height; ++y)
        ASSERT_EQ(first.at(x, y + kTitleBar), face) << "at " << x << "," << y << " between the controls at " << left.x
                                                    << " and " << right->x;
  }
  EXPECT_GE(strips, 12);
}

TEST_F(InWindowUi, TheFindDialogTakesTyping) {
  // Typing "a", Shift+"B", then Enter for a search; findText again raises the same dialog.
  const auto result = run("screen 640, 480, 640, 2\ndraw\nfindText\nfor %1, 1, 100\nsleep 10\nnext\nfindText\n"
                          "print \"done\"\n",
                          "300 move 320 240\n400 keydown 0x41\n420 keyup 0x41\n450 keydown 0x10\n460 keydown 0x42\n"
                          "470 keyup 0x42\n480 keyup 0x10\n500 keydown 0x0D\n520 keyup 0x0D\n");
  EXPECT_EQ(result.out, "done");
  ASSERT_GE(shotCount(), 8u);
  // The dialog's light face in the middle of the black game, the text field white.
  EXPECT_GT(pixel(8, 160, 260) & 0xFF, 0xC0u);
  EXPECT_EQ(pixel(8, 320, 400), 0x000000u);
}

}  // namespace
}  // namespace vellum
