// The menu bar and the start-up settings dialog drawn in the game's window, clicked through with
// replayed input in headless games; each click's picture is saved and checked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image/image.h"
#include "image/image_io.h"
#include "persist/persist_fixture.h"
#include "script/builtins/packed_game.h"

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
  // The shot's pixel as 0xRRGGBB.
  uint32_t pixel(int shot, int x, int y) {
    char name[32];
    std::snprintf(name, sizeof name, "ui-%03d.png", shot);
    const std::string bytes = test::readFileBytes(shots / name);
    Image* image = loadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!image) return 0xDEAD;
    const uint32_t value = x < image->width && y < image->height ? image->pixels[y * image->width + x] & 0xFFFFFF : 0xDEAD;
    freeImage(image);
    return value;
  }
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

// The dialog's controls sit 13 pixels below the top (the title bar), at the places of the layout.
constexpr const char* kDialogGame = "int f\nscreen 640, 480, 640, 0\ngetFullScreen %f\nprint \"full=\", %f\n";

TEST_F(InWindowUi, TheSettingsDialogChoosesFullScreenAndStarts) {
  const auto result = run(kDialogGame,
                          "500 press left 126 49\n550 release left 126 49\n"
                          "700 press left 390 198\n750 release left 390 198\n");
  EXPECT_EQ(result.out, "full=1");
  ASSERT_GE(shotCount(), 4u);
  // The first picture: the dialog on its light face with the title bar above.
  EXPECT_GT(pixel(1, 265, 100) & 0xFF, 0xC0u);
}

TEST_F(InWindowUi, TheSettingsDialogsEndButtonQuits) {
  const auto result = run(kDialogGame, "500 press left 480 198\n550 release left 480 198\n");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitCode, 0);
}

TEST_F(InWindowUi, ClosingTheSettingsDialogQuits) {
  const auto result = run(kDialogGame, "500 close\n");
  EXPECT_EQ(result.out, "");
}

TEST_F(InWindowUi, TheGreyedDetailedSettingsButtonDoesNothing) {
  const auto result = run(kDialogGame,
                          "500 press left 280 198\n550 release left 280 198\n"
                          "700 press left 390 198\n750 release left 390 198\n");
  EXPECT_EQ(result.out, "full=0");
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
