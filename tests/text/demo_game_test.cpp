// The bundled demo, packed as run-demo.sh packs it and played headless with replayed clicks: its
// story goes through the message window one page per click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/game_builder.h"

namespace vellum::test {
namespace {

const std::string kFirstPage =
    "「雾港奎尔米尔」\n一个用 Vellum 引擎写成的小故事。\n设置：窗口顶端的「画面」菜单可以随时切换全屏、窗口尺寸和插补方式。\n";
// The playthrough begins on the title menu and walks the pier at the choice.
const std::string kWholeStory = kFirstPage +
                                "清晨的雾从海面上慢慢升起，\n码头的钟敲了七下。\n"
                                "【艾琳】早上好，旅行者。你也是来等渡船的吗？\n"
                                "【艾琳】船今天会晚一点。雾太大了。\n"
                                "我点了点头，在长椅上坐了下来。\n"
                                "【艾琳】要一起等吗？还是去码头那头看看？\n"
                                "（左边：留在长椅上等船。右边：沿着码头走走。）\n"
                                "我沿着码头慢慢走到尽头，灯塔就在眼前。\n"
                                "海风吹散了雾，远处传来了汽笛声。\n"
                                "（故事到这里暂时结束。）\n";

class DemoGame : public ::testing::Test {
 protected:
  void SetUp() override {
    // The single-instance lock lives in a folder of this test's own, so games other tests start
    // at the same time do not stop this one.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    savedRuntime = runtime ? runtime : "";
    hadRuntime = runtime != nullptr;
    setenv("XDG_RUNTIME_DIR", lockFolder.path().c_str(), 1);
    const std::string pack = "bash " + std::string(VELLUM_SOURCE_DIR) + "/scripts/pack-demo.sh " + VELLUM_BINARY_DIR +
                             " " + game.path().string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(pack.c_str()), 0);
  }

  void TearDown() override {
    if (hadRuntime)
      setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }

  ProcessResult play(const std::string& input) {
    std::ofstream(game / "input.txt") << input;
    return runTool("vellum", "--headless --game " + game.path().string() + " --input " + (game / "input.txt").string());
  }

  TempFolder game, lockFolder;
  std::string savedRuntime;
  bool hadRuntime = false;
};

TEST_F(DemoGame, ThePlaythroughGoesFromTheTitleThroughTheChoiceToTheEnd) {
  std::ifstream in(std::string(VELLUM_SOURCE_DIR) + "/examples/demo/playthrough.txt");
  const std::string playthrough{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const ProcessResult result = play(playthrough);
  EXPECT_EQ(result.out, kWholeStory);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

TEST_F(DemoGame, WithoutAClickTheTitleMenuWaits) {
  const ProcessResult result = play("5000 quit\n");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

}  // namespace
}  // namespace vellum::test
