// vellum-pack new: a starter game is written, packed as its README says and played headless once
// with its own replay; the story it prints and the picture of each screen are checked from that
// one run, by properties with tolerances (llvmpipe's output differs a little between machines).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "support/shot_picture.h"
#include "support/temp_folder.h"
#include "test_paths.h"
#include "tool_runner.h"

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

const std::string kStarterStory =
    "这是第一页的旁白。把这些文字换成你自己的故事。\n一页最多四行；空行表示翻页。\n"
    "【角色】你好！我是这个故事的第一位角色。\n"
    "【角色】接下来去哪里？请选择。\n"
    "【角色】那我们就留在这里吧。\n这是第一个选项的结果。\n"
    "（第一幕完。）\n"
    // Loaded back at the choice from the title menu, the other branch.
    "这是第二个选项的结果：换了一个地方。\n"
    "（第一幕完。）\n";

const std::string kTool = std::string(VELLUM_BINARY_DIR) + "/vellum-pack";
const std::string kEngine = std::string(VELLUM_BINARY_DIR) + "/vellum";

class StarterGame : public ::testing::Test {
 protected:
  // One starter game for the suite, packed the way its README says.
  static void SetUpTestSuite() {
    folder = new TempFolder;
    created = new ProcessResult(runShell(folder->path(), kTool + " new src --title '港口的早晨'"));
    packed = runShell(folder->path(), kTool + " script src -o game/script.dat --from-utf8 && " + kTool +
                                          " archive src/data -o game/arc0.dat")
                 .exitCode == 0;
  }
  static void TearDownTestSuite() {
    delete created;
    delete folder;
    created = nullptr;
    folder = nullptr;
  }
  static fs::path source() { return *folder / "src"; }
  static fs::path shot(const std::string& name) { return *folder / "shots" / (name + ".png"); }

  static TempFolder* folder;
  static ProcessResult* created;
  static bool packed;
};

TempFolder* StarterGame::folder = nullptr;
ProcessResult* StarterGame::created = nullptr;
bool StarterGame::packed = false;

TEST_F(StarterGame, NewWritesEveryFileItsReadmeNames) {
  ASSERT_EQ(created->exitCode, 0) << created->err;
  EXPECT_EQ(created->err, "");
  const std::string readme = fileText(source() / "README.md");
  EXPECT_EQ(readme.rfind("# 港口的早晨\n", 0), 0u) << "the title heads the README";
  for (const char* file :
       {"script/0.txt", "script/title.txt", "script/window.txt", "script/saves.txt", "script/backlog.txt",
        "script/scene1.txt", "data/title.png", "data/bg.png", "data/bg2.png", "data/chara.png", "data/window.png",
        "data/namebox.png", "data/btn_menu.png", "data/btn_small.png", "data/choice.png", "data/panel.png",
        "data/bar_track.png", "data/bar_fill.png", "data/log_panel.png", "data/blank.png", "data/bgm.wav",
        "data/chime.wav", "data/voice.wav", "icon.png", "playthrough.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(source() / file)) << file;
    EXPECT_NE(readme.find(fs::path(file).filename().string()), std::string::npos) << file << " is not in the README";
  }
  // The placeholders are what the scripts expect: a full-screen background, a 16-bit PCM sound.
  ShotPicture background(source() / "data/bg.png");
  ASSERT_TRUE(background.loaded());
  EXPECT_EQ(background.width(), 1280);
  EXPECT_EQ(background.height(), 720);
  const std::string music = fileText(source() / "data/bgm.wav");
  ASSERT_GT(music.size(), 44u);
  EXPECT_EQ(music.substr(0, 4), "RIFF");
  EXPECT_EQ(music[20], 1) << "PCM";
  EXPECT_EQ(music[34], 16) << "bits a sample";
}

TEST_F(StarterGame, TheCheckerFindsNothingToReport) {
  ASSERT_EQ(created->exitCode, 0) << created->err;
  const ProcessResult lint =
      runShell(folder->path(), std::string(VELLUM_BINARY_DIR) + "/vellum-lint src --from-utf8");
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(lint.err, "");
  EXPECT_EQ(lint.exitCode, 0);
}

TEST_F(StarterGame, RefusesToWriteOverAFolderThatHoldsFiles) {
  ASSERT_EQ(created->exitCode, 0);
  const std::string before = fileText(source() / "script/scene1.txt");
  const ProcessResult again = runShell(folder->path(), kTool + " new src");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("not empty"), std::string::npos) << again.err;
  EXPECT_EQ(fileText(source() / "script/scene1.txt"), before);
  const ProcessResult quoted = runShell(folder->path(), kTool + " new other --title 'a\"b'");
  EXPECT_EQ(quoted.exitCode, 2);
  EXPECT_FALSE(fs::exists(*folder / "other"));
}

// What each shot of the replay must show.
void theTitleShowsItsNameAndFourButtons(const ShotPicture& title) {
  EXPECT_GT(title.brightPixels(500, 170, 780, 235), 800) << "the title";
  for (const int y : {380, 460, 540, 620}) {
    EXPECT_GT(title.brightPixels(560, y - 16, 720, y + 16, 170), 60) << "label at y " << y;
    EXPECT_LT(title.mean(300, y - 25, 450, y + 25).luminance(), 110) << "ground at y " << y;
  }
}

void theSettingsShowTextAtOnceAndTheMusicAStepDown(const ShotPicture& settings) {
  // The "at once" button (880, 185) is lit; slow (520, 185) is dimmed.
  const int atOnce = settings.brightPixels(835, 170, 925, 200, 170);
  EXPECT_GT(atOnce, 40);
  EXPECT_LT(settings.brightPixels(475, 170, 565, 200, 170), atOnce / 4);
  // The music meter runs from x 590 to 890: 70 of 100 ends at x 800, in warm yellow.
  const ShotRgb bar = settings.mean(700, 262, 790, 268);
  EXPECT_GT(bar.luminance(), 150);
  EXPECT_GT(bar.r, bar.b + 60);
  EXPECT_LT(settings.mean(815, 262, 885, 268).luminance(), 90);
}

void theFirstPageIsWholeInTheWindow(const ShotPicture& page) {
  // Two rows of narration from (140, 494), 46 pixels apart; no name plate over narration.
  EXPECT_GT(page.brightPixels(140, 494, 1000, 530), 1000);
  EXPECT_GT(page.brightPixels(140, 540, 1000, 576), 500);
  EXPECT_LT(page.brightPixels(140, 610, 1000, 700), 20);
  EXPECT_GT(page.mean(120, 430, 300, 460).luminance(), 180) << "the sky where a name plate would be";
  for (const int y : {500, 552, 604, 656})
    EXPECT_GT(page.brightPixels(1075, y - 14, 1155, y + 14, 120), 30) << "button at y " << y;
}

void theSpeakerHasANamePlate(const ShotPicture& page) {
  EXPECT_LT(page.mean(115, 428, 125, 462).luminance(), 110) << "the plate";
  EXPECT_GT(page.brightPixels(125, 430, 200, 462), 40) << "the name";
  // The character stands in the middle, in front of the sky.
  const ShotRgb robe = page.mean(620, 320, 660, 440);
  EXPECT_GT(robe.b, robe.g + 20);
}

void theChoiceShowsItsQuestionAndTwoPlates(const ShotPicture& choice) {
  for (const int y : {200, 300}) EXPECT_LT(choice.mean(380, y - 20, 470, y + 20).luminance(), 130) << "plate at y " << y;
  EXPECT_GT(choice.brightPixels(140, 494, 600, 530), 500) << "the question";
}

void theSaveScreenShowsTheNewSave(const ShotPicture& save) {
  // Slot 1's thumbnail (300..492, 166..274) is the choice in small: the sky above; its time beside it.
  const ShotRgb sky = save.mean(310, 172, 480, 190);
  EXPECT_GT(sky.luminance(), 140);
  EXPECT_GT(sky.b, sky.r + 10);
  EXPECT_GT(save.brightPixels(510, 205, 740, 235), 300) << "the save's time";
  for (const int y : {360, 500}) EXPECT_LT(save.mean(310, y - 40, 480, y + 40).luminance(), 80) << "slot at y " << y;
  for (const int y : {220, 360, 500}) {
    EXPECT_GT(save.brightPixels(770, y - 15, 850, y + 15), 40) << "save button at y " << y;
    EXPECT_GT(save.brightPixels(900, y - 15, 980, y + 15), 40) << "load button at y " << y;
  }
}

void theBacklogShowsTheSpeakersPage(const ShotPicture& log) {
  // The page's picture at half size in the frame: the sky, and the character in the middle.
  const ShotRgb sky = log.mean(100, 80, 300, 200);
  EXPECT_GT(sky.luminance(), 140);
  EXPECT_GT(sky.b, sky.r + 10);
  const ShotRgb robe = log.mean(390, 300, 410, 380);
  EXPECT_GT(robe.b, robe.g + 20);
  EXPECT_GT(log.brightPixels(80, 450, 140, 480), 40) << "the speaker";
  EXPECT_GT(log.brightPixels(80, 495, 560, 535), 300) << "the line";
  EXPECT_LT(log.mean(740, 440, 1200, 700).luminance(), 40);
}

void theLoadCameBackToTheChoice(const ShotPicture& loaded) {
  for (const int y : {200, 300}) EXPECT_LT(loaded.mean(380, y - 20, 470, y + 20).luminance(), 130) << "plate at y " << y;
  EXPECT_GT(loaded.mean(20, 100, 150, 300).luminance(), 140) << "the morning sky";
  for (const int y : {500, 552, 604, 656})
    EXPECT_GT(loaded.brightPixels(1075, y - 14, 1155, y + 14, 120), 30) << "button at y " << y;
}

void theOtherBranchIsSomewhereElse(const ShotPicture& elsewhere) {
  const ShotRgb sky = elsewhere.mean(20, 50, 300, 200);
  EXPECT_GT(sky.r, sky.b + 40) << "the evening";
  EXPECT_GT(elsewhere.brightPixels(140, 494, 700, 530), 800);
}

TEST_F(StarterGame, ItsReplayGoesThroughEveryScreenAndBothBranches) {
  ASSERT_TRUE(packed);
  const ProcessResult run = runShell(folder->path(), kEngine + " --headless --game game --input src/playthrough.txt --shots shots");
  EXPECT_EQ(run.out, kStarterStory);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exitCode, 0);
  const std::pair<const char*, void (*)(const ShotPicture&)> checks[] = {
      {"title", theTitleShowsItsNameAndFourButtons},
      {"settings", theSettingsShowTextAtOnceAndTheMusicAStepDown},
      {"first-page", theFirstPageIsWholeInTheWindow},
      {"speaker", theSpeakerHasANamePlate},
      {"choice", theChoiceShowsItsQuestionAndTwoPlates},
      {"save", theSaveScreenShowsTheNewSave},
      {"backlog", theBacklogShowsTheSpeakersPage},
      {"title-again", theTitleShowsItsNameAndFourButtons},
      {"loaded", theLoadCameBackToTheChoice},
      {"elsewhere", theOtherBranchIsSomewhereElse},
  };
  for (const auto& [name, check] : checks) {
    SCOPED_TRACE(name);
    const ShotPicture picture(shot(name));
    ASSERT_TRUE(picture.loaded());
    EXPECT_EQ(picture.width(), 1280);
    EXPECT_EQ(picture.height(), 720);
    check(picture);
  }
  // The save went into the game folder, with its thumbnail.
  EXPECT_TRUE(fs::is_regular_file(*folder / "game/save/save001.dat"));
  EXPECT_TRUE(fs::is_regular_file(*folder / "game/save/thumb1.png"));
}

}  // namespace
}  // namespace vellum::test
