// The engine executable ends the orderly way: SIGTERM and SIGINT are the quit message (settings
// written), replayed input drives a headless game, and closing the window only asks the script.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "engine_process.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

using test::gbk;

// A game that sets up its screen and then waits forever.
constexpr const char* kWaitingGame =
    "loadSetting \"/Co/\", \"Game/\"\n"
    "screen 640, 480, 640, 2\n"
    "*wait\n"
    "sleep 5\n"
    "goto *wait\n";

class EngineSignals : public ::testing::Test {
 protected:
  void SetUp() override {
    // An empty save.dat keeps the saves in the game folder without asking.
    std::ofstream(game / "save.dat");
  }
  std::vector<std::string> headless(std::vector<std::string> more = {}) {
    std::vector<std::string> words = {"--headless", "--game", game.path().string()};
    words.insert(words.end(), more.begin(), more.end());
    return words;
  }
  std::vector<std::string> environment() { return {"XDG_RUNTIME_DIR=" + runtime.path().string()}; }
  bool settingsWritten() { return std::filesystem::exists(game / "save/setting.dat"); }

  test::TempFolder game, runtime, output;
};

TEST_F(EngineSignals, SigtermEndsTheGameWithTheSettingsWritten) {
  test::writeScriptContainer(game, {{"script/0.txt", kWaitingGame}});
  test::EngineProcess engine(headless(), environment(), output.path());
  ASSERT_TRUE(engine.started());
  ASSERT_TRUE(test::waitForText(game / "Information.txt", "Src1", 10000)) << test::readFileBytes(output / "err");
  engine.signal(SIGTERM);
  EXPECT_EQ(engine.waitForExit(10000), 0) << test::readFileBytes(output / "err");
  EXPECT_TRUE(settingsWritten());
}

TEST_F(EngineSignals, SigintToo) {
  test::writeScriptContainer(game, {{"script/0.txt", kWaitingGame}});
  test::EngineProcess engine(headless(), environment(), output.path());
  ASSERT_TRUE(test::waitForText(game / "Information.txt", "Src1", 10000));
  engine.signal(SIGINT);
  EXPECT_EQ(engine.waitForExit(10000), 0);
  EXPECT_TRUE(settingsWritten());
}

TEST_F(EngineSignals, ReplayedInputDrivesAHeadlessGame) {
  test::writeScriptContainer(game, {{"script/0.txt",
                                     "loadSetting \"/Co/\", \"Game/\"\n"
                                     "screen 640, 480, 640, 2\n"
                                     "int x\nint y\n"
                                     "sleep 300\n"
                                     "getCursorPos %x, %y\n"
                                     "print %x, \",\", %y\n"
                                     "*wait\nsleep 5\ngoto *wait\n"}});
  std::ofstream(output / "input.txt") << "# the pointer, a close request that changes nothing, then quit\n"
                                         "50 move 123 45\n"
                                         "100 close\n"
                                         // The quit comes on time whatever the script does, so
                                         // it waits until the game has surely printed.
                                         "2500 quit\n";
  test::EngineProcess engine(headless({"--input", (output / "input.txt").string()}), environment(), output.path());
  EXPECT_EQ(engine.waitForExit(10000), 0) << test::readFileBytes(output / "err");
  EXPECT_EQ(test::readFileBytes(output / "out"), "123,45");
  EXPECT_TRUE(settingsWritten());
}

TEST_F(EngineSignals, BadReplayFileStopsBeforeTheGame) {
  test::writeScriptContainer(game, {{"script/0.txt", kWaitingGame}});
  std::ofstream(output / "input.txt") << "10 jump\n";
  test::EngineProcess engine(headless({"--input", (output / "input.txt").string()}), environment(), output.path());
  EXPECT_EQ(engine.waitForExit(10000), 2);
  EXPECT_EQ(test::readFileBytes(output / "err"),
            "vellum: " + (output / "input.txt").string() + ": line 1: unknown event \"jump\"\n");
}

}  // namespace
}  // namespace vellum
