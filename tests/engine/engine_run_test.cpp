// The engine executable end to end: a packed game folder, run headless.
#include <gtest/gtest.h>

#include <vellum/exports.h>
#include <zlib.h>

#include "shell/engine_process.h"
#include "storage/hashes.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

using test::gbk;

class EngineRun : public ::testing::Test {
 protected:
  test::ProcessResult runGame() { return test::runTool("vellum", "--headless --game " + game.path().string()); }
  std::string log() { return test::readFileBytes(game.path() / "Information.txt"); }
  test::TempFolder game;
};

TEST_F(EngineRun, StoryTextAppearsOnStandardOutput) {
  test::writeScriptContainer(game, {{"script/0.txt", gbk("*start\n【艾琳】早上好。\n\n（完）\n")}});
  const auto result = runGame();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "【艾琳】早上好。\n（完）\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(EngineRun, ReadFlagsReachAlreadyDatWhenTheGameEnds) {
  game.write("save.dat", "");
  test::writeScriptContainer(game, {{"script/0.txt", gbk("loadSetting \"/Co/\", \"Game/\"\n（一）\n\n（二）\n")}});
  const auto result = runGame();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::string stored = test::readFileBytes(game.path() / "save" / "already.dat");
  ASSERT_GT(stored.size(), 4u);
  // The container: payload length, then a zlib stream of "S<key>=11".
  uLongf length = stored[0] & 0xFF;
  std::string text(length, '\0');
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &length,
                       reinterpret_cast<const Bytef*>(stored.data() + 4), static_cast<uLong>(stored.size() - 4)),
            Z_OK);
  EXPECT_NE(text.find("=11"), std::string::npos) << text;
}

TEST_F(EngineRun, UnknownCommandIsReportedAndTheGameGoesOn) {
  test::writeScriptContainer(game, {{"script/0.txt", gbk("（一）\n\nfrobnicate 1, 2\n（二）\n")}});
  const auto result = runGame();
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "（一）\n（二）\n");
  EXPECT_EQ(result.err, "Error: 这是未对应的命令 | script/0.txt[3] frobnicate\n");
  // The log keeps the engine's own bytes.
  EXPECT_EQ(log(), gbk("这是未对应的命令") + "\r\nscript/0.txt[3] frobnicate\n");
}

TEST_F(EngineRun, MissingStartScriptFailsStartUp) {
  test::writeScriptContainer(game, {{"script/5.txt", gbk("（一）\n")}});
  const auto result = runGame();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err, "Error: 开始脚本没有读入\n");
  EXPECT_EQ(result.out, "");
}

TEST_F(EngineRun, DuplicateLabelNamesTheFileAndLine) {
  test::writeScriptContainer(game, {{"script/0.txt", "*twice\n\n*twice\n"}});
  const auto result = runGame();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err, "Error: " + ulltos32(crc64Of("script/0.txt")) + "[3] *twice ※ラベルが重複しています\n");
}

TEST_F(EngineRun, ContainerOfAnotherTitleDoesNotOpen) {
  test::writeScriptContainer(game, {{"script/0.txt", gbk("（一）\n")}}, "Another Game");
  const auto result = runGame();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err, "Error: " + ulltos32(crc64Of("script/0.txt")) + ": スクリプトの読み込みに失敗しました\n");
}

TEST_F(EngineRun, NoContainerIsReported) {
  const auto result = runGame();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err.rfind("Error: loadLabel | script.dat ", 0), 0u) << result.err;
}

TEST_F(EngineRun, SecondStartFileIsLoadedBesideTheFirst) {
  test::writeScriptContainer(game, {{"script/0.txt", "goto *there\n"}, {"script/1.txt", gbk("*there\n（二）\n")}});
  const auto result = runGame();
  // Without the goto command yet, the report names it; both files loaded, so start-up succeeded.
  EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(EngineRun, BadCommandLine) {
  const auto result = test::runTool("vellum", "--game");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("usage: vellum"), std::string::npos);
}

// Started for a player but where nobody can see a window (over SSH, from a service, under env -i),
// the engine says so and ends instead of waiting for input that cannot come. The child's whole
// environment is the row's.
struct NoDisplayCase {
  const char* name;
  std::vector<std::string> environment;
};

class EngineWithoutDisplay : public ::testing::TestWithParam<NoDisplayCase> {};

TEST_P(EngineWithoutDisplay, SaysSoAndExitsWithStatusTwo) {
  test::TempFolder game, output;
  test::writeScriptContainer(game, {{"script/0.txt", "screen 640, 480, 640, 2\n*wait\nsleep 5\ngoto *wait\n"}});
  game.write("save.dat", "");
  test::EngineProcess engine({"--game", game.path().string()}, GetParam().environment, output.path(),
                             test::Inherit::Nothing);
  ASSERT_TRUE(engine.started());
  EXPECT_EQ(engine.waitForExit(30000), 2) << test::readFileBytes(output / "err");
  const std::string err = test::readFileBytes(output / "err");
  EXPECT_NE(err.find("no display found"), std::string::npos) << err;
  EXPECT_NE(err.find("--headless runs the game without one"), std::string::npos) << err;
  EXPECT_EQ(test::readFileBytes(output / "out"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngineWithoutDisplay,
    ::testing::Values(NoDisplayCase{"empty_environment", {}},
                      NoDisplayCase{"a_login_without_a_display", {"PATH=/usr/bin:/bin", "TERM=xterm", "LANG=C.UTF-8"}},
                      NoDisplayCase{"the_offscreen_driver_asked_for", {"DISPLAY=:0", "SDL_VIDEODRIVER=offscreen"}},
                      NoDisplayCase{"a_display_that_does_not_answer",
                                    {"DISPLAY=/nonexistent/vellum-test-socket:0", "SDL_VIDEODRIVER=x11"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
