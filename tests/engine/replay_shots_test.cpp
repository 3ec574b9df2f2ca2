// `vellum --shots DIR`: shot lines of the replayed input photograph what the player sees, into a
// folder the engine makes; names that would leave it, and shots that cannot be taken, are said.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/image_io.h"
#include "support/game_builder.h"
#include "support/param_names.h"

namespace vellum::test {
namespace {

// A red 320x180 picture, written with the engine's own PNG writer.
std::string redPicture() {
  Image* image = createImage(320, 180, 32);
  for (int32_t i = 0; i < image->pixelCount; ++i) image->pixels[i] = 0xFFFF0000u;
  std::vector<uint8_t> bytes;
  SaveRequest png;
  EXPECT_TRUE(encodeImage(image, png, "red.png", bytes));
  freeImage(image);
  return std::string(bytes.begin(), bytes.end());
}

class ReplayShots : public ::testing::Test {
 protected:
  ProcessResult play(const std::string& script, const std::string& input, const std::string& shots) {
    writeScriptContainer(game, {{"script/0.txt", script}});
    game.write("red.png", redPicture());
    scratch.write("input.txt", input);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", scratch.path().c_str(), 1);
    ProcessResult result = runTool("vellum", "--headless --game " + game.path().string() + " --input " +
                                                 (scratch / "input.txt").string() + " --shots " + shots);
    if (runtime) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
    return result;
  }

  TempFolder game, scratch;
};

// Shows the red picture and waits, pumping input, until the replay quits.
const char* const kRedScreen =
    "screen 320, 180, 320, 0\nsp 0, \"red.png\", 0, 0\nsp_cxy 0, 0, 0\ndraw\n*wait\ndraw\nsleep 10\ngoto *wait\n";

TEST_F(ReplayShots, SaveWhatThePlayerSeesIntoAFolderTheEngineMakes) {
  const std::string shots = (scratch / "out/run one").string();
  const ProcessResult result = play(kRedScreen, "2000 shot first\n2100 shot second.try\n4000 quit\n", "'" + shots + "'");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  for (const char* name : {"first", "second.try"}) {
    std::ifstream in(shots + "/" + name + ".png", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Image* picture = bytes.empty() ? nullptr : loadImage(bytes.data(), bytes.size());
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 180);
    const uint32_t middle = picture->pixels[90 * 320 + 160];
    EXPECT_GT((middle >> 16) & 0xFF, 240u) << std::hex << middle;
    EXPECT_LT((middle >> 8) & 0xFF, 16u) << std::hex << middle;
    EXPECT_LT(middle & 0xFF, 16u) << std::hex << middle;
    freeImage(picture);
  }
  // Nothing half-written is left beside them.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(shots)) ++files;
  EXPECT_EQ(files, 2u);
}

struct RefusedName {
  const char* line;
  const char* reason;
};

class ReplayShotNames : public ReplayShots, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(ReplayShotNames, ThatWouldLeaveTheFolderStopTheEngineBeforeTheGame) {
  const std::string shots = (scratch / "never").string();
  const ProcessResult result = play("print \"started\"\nend\n", std::string("# shots\n") + GetParam().line + "\n", shots);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(std::string("line 2: ") + GetParam().reason), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(scratch / "x.png"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayShotNames,
    ::testing::Values(RefusedName{"10 shot ../x", "shot name \"../x\" must not contain a slash"},
                      RefusedName{"10 shot /tmp/x", "shot name \"/tmp/x\" must not contain a slash"},
                      RefusedName{"10 shot ..", "shot name \"..\" must not contain \"..\""},
                      RefusedName{"10 shot", "shot needs one name"}),
    test::namedBy([](const RefusedName& c) { return c.line; }));

TEST_F(ReplayShots, ThatCannotBeTakenAreNamedAndTheGameGoesOn) {
  // No screen yet at the first shot; the game ends before the second.
  const ProcessResult result =
      play("*wait\nsleep 10\ngoto *wait\n", "200 shot early\n600 quit\n5000 shot late\n", (scratch / "s").string());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err,
            "vellum: shot early: no picture: the game has no screen yet\n"
            "vellum: shot late: not taken: the game ended before its time\n");
  EXPECT_TRUE(std::filesystem::is_directory(scratch / "s"));
}

TEST_F(ReplayShots, AFolderThatCannotBeMadeIsABadCommandLine) {
  scratch.write("file", "x");
  const ProcessResult result = play("end\n", "10 shot a\n", (scratch / "file/sub").string());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--shots: cannot create the folder"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vellum::test
