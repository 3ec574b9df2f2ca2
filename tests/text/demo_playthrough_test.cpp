// The bundled demo, packed as run-demo.sh packs it and played headless once with its own
// playthrough, --shots and --speech-out: the story it prints, the pictures it leaves and what it
// reads aloud are all checked from that one run. The software renderer's output differs a little
// between machines, so the picture checks are properties with a tolerance (bright pixels where
// buttons and text are, the colour of an area), not exact pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/game_builder.h"
#include "support/shot_picture.h"
#include "test_paths.h"

namespace vellum::test {
namespace {

const std::string kDemoStory =
    "「雾港奎尔米尔」\n一个用 Vellum 引擎写成的小故事。\n设置：窗口顶端的「画面」菜单可以随时切换全屏、窗口尺寸和插补方式。\n"
    "清晨的雾从海面上慢慢升起，\n码头的钟敲了七下。\n"
    "【艾琳】早上好，旅行者。你也是来等渡船的吗？\n"
    "【艾琳】船今天会晚一点。雾太大了。\n"
    "我点了点头，在长椅上坐了下来。\n"
    "【艾琳】要一起等吗？还是去码头那头看看？\n"
    "（左边：留在长椅上等船。右边：沿着码头走走。）\n"
    "我沿着码头慢慢走到尽头，灯塔就在眼前。\n"
    "海风吹散了雾，远处传来了汽笛声。\n"
    "（故事到这里暂时结束。）\n"
    // Loaded back at the choice, the walk again.
    "我沿着码头慢慢走到尽头，灯塔就在眼前。\n"
    "海风吹散了雾，远处传来了汽笛声。\n"
    "（故事到这里暂时结束。）\n";

// What the same run reads aloud (--speech-out): the buttons the pointer comes to, by their tooltips
// or the words on them, and each message as it is shown. Irene's greeting has her voice, so only her
// name is said; the skip mode passes the pages up to the choice.
const std::vector<std::string> kDemoSaid = {
    "设置", "快", "－", "＋", "返回", "开始",
    "「雾港奎尔米尔」一个用 Vellum 引擎写成的小故事。设置：窗口顶端的「画面」菜单可以随时切换全屏、窗口尺寸和插补方式。",
    "快进", "清晨的雾从海面上慢慢升起，码头的钟敲了七下。", "艾琳", "艾琳: 船今天会晚一点。雾太大了。",
    "我点了点头，在长椅上坐了下来。", "艾琳: 要一起等吗？还是去码头那头看看？（左边：留在长椅上等船。右边：沿着码头走走。）",
    // The save screen, the backlog (with the voice replayed) and the walk.
    "存档", "存档", "返回", "回想", "上一页", "重播语音", "返回", "沿着码头走走",
    "我沿着码头慢慢走到尽头，灯塔就在眼前。海风吹散了雾，远处传来了汽笛声。（故事到这里暂时结束。）",
    // Loaded back at the choice, the walk again.
    "存档", "读档", "沿着码头走走",
    "我沿着码头慢慢走到尽头，灯塔就在眼前。海风吹散了雾，远处传来了汽笛声。（故事到这里暂时结束。）"};

using DemoRgb = ShotRgb;
using DemoShot = ShotPicture;

class DemoPlaythrough : public ::testing::Test {
 protected:
  // One packing for the suite; the playthrough runs once, in the test that checks it (ctest runs
  // each test in a process of its own, so a playthrough here would run once per test).
  static void SetUpTestSuite() {
    folder = new TempFolder;
    std::filesystem::create_directories(*folder / "run");
    LockFolder lock(*folder / "run");
    const std::string pack = "bash " + std::string(VELLUM_SOURCE_DIR) + "/scripts/pack-demo.sh " + VELLUM_BINARY_DIR +
                             " " + game().string() + " >/dev/null 2>&1";
    packed = std::system(pack.c_str()) == 0;
  }
  static void playThrough() {
    LockFolder lock(*folder / "run");
    // The shots folder does not exist yet: the engine makes it.
    run = new ProcessResult(runTool("vellum", "--headless --game " + game().string() + " --input " +
                                                  VELLUM_SOURCE_DIR + "/examples/demo/playthrough.txt --shots " +
                                                  (*folder / "shots/demo").string() + " --speech-out " +
                                                  said().string()));
  }
  static void TearDownTestSuite() {
    delete run;
    delete folder;
    run = nullptr;
    folder = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(packed); }
  static std::filesystem::path game() { return *folder / "game"; }
  static std::filesystem::path said() { return *folder / "said.txt"; }
  static std::vector<std::string> saidLines() {
    std::vector<std::string> lines;
    std::ifstream in(said());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  static std::filesystem::path shot(const std::string& name) { return *folder / "shots/demo" / (name + ".png"); }

  // The single-instance lock lives in a folder of this suite's own, so games other tests start at
  // the same time do not stop this one.
  class LockFolder {
   public:
    explicit LockFolder(const std::filesystem::path& path) {
      const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      had_ = runtime != nullptr;
      saved_ = runtime ? runtime : "";
      setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~LockFolder() {
      if (had_) setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
      else unsetenv("XDG_RUNTIME_DIR");
    }

   private:
    bool had_ = false;
    std::string saved_;
  };

  static TempFolder* folder;
  static ProcessResult* run;
  static bool packed;

 public:
  static std::filesystem::path shotFile(const std::string& name) { return shot(name); }
};

TempFolder* DemoPlaythrough::folder = nullptr;
ProcessResult* DemoPlaythrough::run = nullptr;
bool DemoPlaythrough::packed = false;

std::filesystem::path shot(const std::string& name) { return DemoPlaythrough::shotFile(name); }

// What each shot of the playthrough must show, checked by properties with tolerances (llvmpipe
// output may differ in its last bits from machine to machine).



void theTitleShowsItsThreeButtonsWhereTheScriptPutsThem() {
  DemoShot title(shot("title"));
  ASSERT_TRUE(title.loaded());
  // The begin (640, 400), settings (640, 520) and leave (640, 640) plates are light, 240x96 around
  // their centres (their icons in the middle left out); the ground beside them is the dark blue
  // title picture.
  for (const int y : {400, 520, 640}) {
    EXPECT_GT(title.mean(530, y - 30, 600, y + 30).luminance(), 160) << "plate at y " << y;
    EXPECT_GT(title.mean(680, y - 30, 750, y + 30).luminance(), 160) << "plate at y " << y;
    EXPECT_LT(title.mean(300, y - 30, 450, y + 30).luminance(), 110) << "ground at y " << y;
  }
  // Nothing between them.
  for (const int y : {454, 574}) EXPECT_LT(title.mean(560, y, 720, y + 12).luminance(), 110) << "gap at y " << y;
}

void theSettingsShowTheChosenSpeedAndTheVolumes() {
  DemoShot settings(shot("settings"));
  ASSERT_TRUE(settings.loaded());
  // Fast text was chosen: its plate (780, 185) is lit, slow (520, 185) and normal (650, 185) dimmed.
  const int fast = settings.brightPixels(730, 170, 830, 200);
  EXPECT_GT(fast, 40);
  EXPECT_LT(settings.brightPixels(470, 170, 570, 200), fast / 4);
  EXPECT_LT(settings.brightPixels(600, 170, 700, 200), fast / 4);
  // The meters run from x 600 to 900: the music a step down from 80 (to x 810), the voices a step
  // up (to x 870). The bar is warm yellow, the rest of the track dark.
  const auto bar = [&](int x0, int x1, int y) { return settings.mean(x0, y - 5, x1, y + 5); };
  EXPECT_GT(bar(700, 800, 265).luminance(), 150);
  EXPECT_GT(bar(700, 800, 265).r, bar(700, 800, 265).b + 60);
  EXPECT_LT(bar(825, 895, 265).luminance(), 90);
  EXPECT_GT(bar(820, 860, 345).luminance(), 150);
  EXPECT_LT(bar(880, 897, 345).luminance(), 90);
  // The panel hides the title's buttons under it.
  EXPECT_LT(settings.mean(530, 470, 750, 530).luminance(), 60);
}

void theFirstPageFitsItsMessageWindow() {
  DemoShot page(shot("first-page"));
  ASSERT_TRUE(page.loaded());
  // Four rows from (140, 494), 46 pixels apart, in 30-pixel type on the dark window (100..1180,
  // 470..706); the third line wraps into the fourth row.
  for (const int top : {494, 540, 586, 632})
    EXPECT_GT(page.brightPixels(140, top, 1040, top + 36), 150) << "row at y " << top;
  // Nothing below the window, nor left of where the text begins.
  EXPECT_LT(page.brightPixels(100, 708, 1180, 720), 20);
  EXPECT_LT(page.brightPixels(110, 480, 136, 690), 20);
  // The window darkens the harbour behind it.
  EXPECT_LT(page.mean(880, 650, 1040, 700).luminance(), 110);
  // The story's buttons at the window's right end: labels in the plates at (1115, 500/552/604/656).
  for (const int y : {500, 552, 604, 656})
    EXPECT_GT(page.brightPixels(1065, y - 15, 1165, y + 15, 120), 30) << "button at y " << y;
}

void theChoiceShowsBothButtonsWithTheSkipEnded() {
  DemoShot choice(shot("choice"));
  ASSERT_TRUE(choice.loaded());
  // The camera has zoomed in by then: the stay plate (around (400, 260)) and the walk plate
  // (around (400, 420)) lie at x 176..504; their left ends, clear of the icons, are warm white
  // against the blue morning sky.
  for (const auto& [top, bottom] : {std::pair{220, 284}, std::pair{396, 460}}) {
    const DemoRgb plate = choice.mean(186, top, 250, bottom);
    EXPECT_GT(plate.luminance(), 160) << "plate at y " << top;
    EXPECT_GT(plate.r, plate.b) << "plate at y " << top;
  }
  const DemoRgb sky = choice.mean(20, 200, 150, 320);
  EXPECT_GT(sky.b, sky.r + 10);
  // The skip that brought the story here ended at the choice: its button is as dim as auto's.
  EXPECT_LT(choice.brightPixels(1065, 537, 1165, 567), 20);
}

void theBacklogShowsAnEarlierPageWithItsPictureAndVoice() {
  DemoShot log(shot("backlog"));
  ASSERT_TRUE(log.loaded());
  // Irene's greeting: its picture at half size in the frame (80..720, 60..420), the morning sky
  // above and Irene in the middle; her name and the line below it.
  const DemoRgb sky = log.mean(100, 80, 300, 200);
  EXPECT_GT(sky.luminance(), 140);
  EXPECT_GT(sky.b, sky.r + 10);
  const DemoRgb irene = log.mean(420, 300, 470, 400);
  EXPECT_GT(irene.r, irene.g + 20);
  EXPECT_GT(irene.b, irene.g + 20);
  EXPECT_GT(log.brightPixels(80, 450, 140, 480), 40) << "the speaker";
  EXPECT_GT(log.brightPixels(80, 495, 560, 535), 300) << "the line";
  // The page had a voice: the replay button (860, 300) is lit like the paging buttons.
  EXPECT_GT(log.brightPixels(810, 285, 910, 315), 40);
  EXPECT_GT(log.brightPixels(810, 105, 910, 135), 40);
  // Nothing of the story shows through the dark ground.
  EXPECT_LT(log.mean(740, 440, 1200, 700).luminance(), 40);
}

void theSaveScreenShowsTheNewSaveWithItsThumbnail() {
  DemoShot save(shot("save"));
  ASSERT_TRUE(save.loaded());
  // Slot 1 (row at y 220): the thumbnail (300..492, 166..274) is the choice in small, the morning
  // sky above the window; its time is written beside it (510..740).
  const DemoRgb sky = save.mean(310, 172, 480, 190);
  EXPECT_GT(sky.luminance(), 140);
  EXPECT_GT(sky.b, sky.r + 10);
  EXPECT_GT(save.brightPixels(510, 205, 740, 235), 300) << "the save's time";
  // Slots 2 and 3 are empty: a plain dark frame and a short "empty" mark.
  for (const int y : {360, 500}) {
    EXPECT_LT(save.mean(310, y - 40, 480, y + 40).luminance(), 80) << "slot at y " << y;
    EXPECT_LT(save.brightPixels(600, y - 15, 740, y + 15), 20) << "slot at y " << y;
  }
  // Each row has its save and load buttons.
  for (const int y : {220, 360, 500}) {
    EXPECT_GT(save.brightPixels(760, y - 15, 860, y + 15), 40) << "save button at y " << y;
    EXPECT_GT(save.brightPixels(890, y - 15, 990, y + 15), 40) << "load button at y " << y;
  }
}

void loadingFromTheLastPageGoesBackToTheChoice() {
  DemoShot loaded(shot("loaded"));
  ASSERT_TRUE(loaded.loaded());
  // The morning harbour with both choice plates again, the save screen gone and the window empty.
  for (const auto& [top, bottom] : {std::pair{220, 284}, std::pair{396, 460}})
    EXPECT_GT(loaded.mean(186, top, 250, bottom).luminance(), 160) << "plate at y " << top;
  EXPECT_GT(loaded.mean(20, 200, 150, 320).luminance(), 140);
  EXPECT_LT(loaded.brightPixels(140, 494, 1040, 670), 20);
  // The story's buttons are back in the window.
  for (const int y : {500, 552, 604, 656})
    EXPECT_GT(loaded.brightPixels(1065, y - 15, 1165, y + 15, 120), 30) << "button at y " << y;
}

void theEndIsThePierWithTheLastLines() {
  DemoShot end(shot("end"));
  ASSERT_TRUE(end.loaded());
  // The far end of the pier: the lighthouse post against the sky, right of the message window.
  EXPECT_LT(end.mean(1198, 320, 1212, 460).luminance(), 90);
  EXPECT_GT(end.mean(1100, 320, 1160, 460).luminance(), 150);
  EXPECT_GT(end.brightPixels(140, 494, 1040, 530), 1000) << "the first of the last lines";
}

TEST_F(DemoPlaythrough, GoesFromTheTitleThroughASaveAndALoadToTheEndWithEveryShotTaken) {
  playThrough();
  EXPECT_EQ(run->out, kDemoStory);
  EXPECT_EQ(run->err, "");
  EXPECT_EQ(run->exitCode, 0);
  EXPECT_EQ(saidLines(), kDemoSaid);
  for (const char* name : {"title", "settings", "first-page", "choice", "save", "backlog", "loaded", "end"}) {
    DemoShot picture(shot(name));
    ASSERT_TRUE(picture.loaded()) << name;
    // What the player sees: the game's 1280x720 picture.
    EXPECT_EQ(picture.width(), 1280) << name;
    EXPECT_EQ(picture.height(), 720) << name;
  }
  {
    SCOPED_TRACE("TheTitleShowsItsThreeButtonsWhereTheScriptPutsThem");
    theTitleShowsItsThreeButtonsWhereTheScriptPutsThem();
  }
  {
    SCOPED_TRACE("TheSettingsShowTheChosenSpeedAndTheVolumes");
    theSettingsShowTheChosenSpeedAndTheVolumes();
  }
  {
    SCOPED_TRACE("TheFirstPageFitsItsMessageWindow");
    theFirstPageFitsItsMessageWindow();
  }
  {
    SCOPED_TRACE("TheChoiceShowsBothButtonsWithTheSkipEnded");
    theChoiceShowsBothButtonsWithTheSkipEnded();
  }
  {
    SCOPED_TRACE("TheBacklogShowsAnEarlierPageWithItsPictureAndVoice");
    theBacklogShowsAnEarlierPageWithItsPictureAndVoice();
  }
  {
    SCOPED_TRACE("TheSaveScreenShowsTheNewSaveWithItsThumbnail");
    theSaveScreenShowsTheNewSaveWithItsThumbnail();
  }
  {
    SCOPED_TRACE("LoadingFromTheLastPageGoesBackToTheChoice");
    loadingFromTheLastPageGoesBackToTheChoice();
  }
  {
    SCOPED_TRACE("TheEndIsThePierWithTheLastLines");
    theEndIsThePierWithTheLastLines();
  }
}

// The pad's own playthrough: the title, the story, the choice and the save screen with a game
// controller alone. A focused plate is lit: brighter than it was, or than its neighbour, in the
// same place.
TEST_F(DemoPlaythrough, WithAGamepadAloneTheTitleStoryChoiceAndSaveScreenAreWalked) {
  LockFolder lock(*folder / "run");
  // A copy of the packed game of its own, so that the saves of the other playthrough are not its.
  const std::filesystem::path padGame = *folder / "pad-game", shots = *folder / "shots/pad";
  std::filesystem::remove_all(padGame);
  std::filesystem::copy(game(), padGame, std::filesystem::copy_options::recursive);
  std::filesystem::remove_all(padGame / "save");
  const ProcessResult padRun =
      runTool("vellum", "--headless --game " + padGame.string() + " --input " + VELLUM_SOURCE_DIR +
                            "/examples/demo/pad-playthrough.txt --shots " + shots.string());
  const std::string theEnd = "（故事到这里暂时结束。）\n";
  EXPECT_EQ(padRun.out, kDemoStory.substr(0, kDemoStory.find(theEnd) + theEnd.size()));
  EXPECT_EQ(padRun.err, "");
  EXPECT_EQ(padRun.exitCode, 0);
  const auto padShot = [&](const char* name) { return shots / (std::string(name) + ".png"); };
  DemoShot title(padShot("pad-title")), choice(padShot("pad-choice")), save(padShot("pad-save")),
      walk(padShot("pad-walk"));
  ASSERT_TRUE(title.loaded() && choice.loaded() && save.loaded() && walk.loaded());
  // Two steps down from the pointer's corner: the settings plate (640, 520) is lit, begin (640, 400) not.
  EXPECT_GT(title.mean(530, 500, 600, 540).luminance(), title.mean(530, 380, 600, 420).luminance() + 8);
  // A saved into slot 3: its thumbnail (the choice) beside the time, slot 2 still blank.
  EXPECT_GT(save.mean(310, 450, 490, 550).luminance(), save.mean(310, 310, 490, 410).luminance() + 30);
  EXPECT_GT(save.brightPixels(510, 485, 740, 515), 200);
  // Round the story's plates to the walk plate (400, 420), lit before A chose it.
  EXPECT_GT(walk.mean(180, 370, 260, 460).luminance(), choice.mean(180, 370, 260, 460).luminance() + 5);
}

TEST_F(DemoPlaythrough, WithoutAClickTheTitleMenuWaits) {
  LockFolder lock(*folder / "run");
  std::ofstream(*folder / "wait.txt") << "5000 quit\n";
  const ProcessResult waiting =
      runTool("vellum", "--headless --game " + game().string() + " --input " + (*folder / "wait.txt").string());
  EXPECT_EQ(waiting.out, "");
  EXPECT_EQ(waiting.err, "");
  EXPECT_EQ(waiting.exitCode, 0);
}

// The checker finds nothing to say about the demo: its pictures and sounds are made when it is
// packed, so the packed game is where they are looked for.
TEST_F(DemoPlaythrough, TheCheckerPassesTheDemoClean) {
  const ProcessResult lint = runTool("vellum-lint", std::string(VELLUM_SOURCE_DIR) + "/examples/demo --from-utf8 --game " +
                                                        game().string());
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(lint.err, "");
  EXPECT_EQ(lint.exitCode, 0);
}

}  // namespace
}  // namespace vellum::test
