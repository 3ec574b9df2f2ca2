// loadSetting: the marker, the three questions, the carry-over search and what gets read.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/engine_state.h"
#include "persist/carry_over.h"
#include "persist/engine_settings.h"
#include "persist/load_setting.h"
#include "persist/persist_state.h"
#include "persist_fixture.h"
#include "platform/question_box.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

class LoadSetting : public test::PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    fs::create_directories(home / "Documents");
  }
  void TearDown() override {
    setHeadlessAnswers({});
    PersistTest::TearDown();
  }
  std::string documents() const { return home.path().string() + "/Documents"; }
  void answer(std::vector<std::string> words) { setHeadlessAnswers(std::move(words)); }
};

TEST_F(LoadSetting, CancelQuitsAndWritesNothing) {
  answer({"cancel"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 1);
  EXPECT_TRUE(persistState().settingsPath.empty());
  EXPECT_FALSE(fs::exists(game / "save.dat"));
  EXPECT_FALSE(fs::exists(home / "Documents/Co"));
}

TEST_F(LoadSetting, YesYesMarksTheDocumentsFolder) {
  answer({"yes", "yes"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_EQ(test::readFileBytes(game / "save.dat"), "1");
  EXPECT_EQ(engine().userDataDirectory, documents() + "/Co/Game/");
  EXPECT_EQ(persistState().saveDirectory, documents() + "/Co/Game/save/");
  EXPECT_EQ(persistState().settingsPath, documents() + "/Co/Game/save/setting.dat");
  EXPECT_EQ(settings().interpolation, 2);
}

TEST_F(LoadSetting, NoYesMarksTheGameFolder) {
  answer({"no", "yes"});
  loadSetting("/Co/", "Game/");
  ASSERT_TRUE(fs::is_regular_file(game / "save.dat"));
  EXPECT_EQ(fs::file_size(game / "save.dat"), 0u);
  EXPECT_EQ(engine().userDataDirectory, "");
  EXPECT_EQ(persistState().settingsPath, game.withSlash() + "save/setting.dat");
}

TEST_F(LoadSetting, DecliningAsksTheFirstQuestionAgain) {
  // yes, then no to the folder: the path is forgotten; no, no: asked again; then cancel.
  answer({"yes", "no", "no", "no", "cancel"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 1);
  EXPECT_EQ(engine().userDataDirectory, "");
  EXPECT_FALSE(fs::exists(game / "save.dat"));
}

TEST_F(LoadSetting, EmptyMarkerUsesTheGameFolderWithoutAsking) {
  game.write("save.dat", "");
  answer({"cancel"});  // would quit if anything were asked
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_EQ(persistState().saveDirectory, game.withSlash() + "save/");
}

TEST_F(LoadSetting, MarkerInTheSaveFolderCounts) {
  game.write("save/save.dat", "1");
  answer({"cancel"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_EQ(engine().userDataDirectory, documents() + "/Co/Game/");
}

TEST_F(LoadSetting, GameFolderMarkerWinsOverTheOtherOne) {
  game.write("save.dat", "");
  game.write("save/save.dat", "1");
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().userDataDirectory, "");
}

TEST_F(LoadSetting, AFolderNamedLikeTheMarkerIsNoMarker) {
  fs::create_directories(game / "save.dat");
  answer({"cancel"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(LoadSetting, ReadsTheSettingsAtTheChosenPlace) {
  game.write("save.dat", "1");
  test::writeCompressed(home, "Documents/Co/Game/save/setting.dat", "TextSpeed = 3\r\n");
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(settings().textSpeed, 3);
  EXPECT_EQ(settings().liveTextSpeed, 3);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(LoadSetting, NamesAreJoinedWithoutSeparatorAndBackslashesBecomeSlashes) {
  game.write("save.dat", "1");
  loadSetting("\\Co\\", "Game\\");
  EXPECT_EQ(engine().userDataDirectory, documents() + "/Co/Game/");
  loadSetting("Co", "Game/");
  EXPECT_EQ(engine().userDataDirectory, documents() + "CoGame/");
}

TEST_F(LoadSetting, HeadlessCarryOverPicksNothingAndReadsOwnDefaults) {
  game.write("save.dat", "1");
  test::writeCompressed(home, "Documents/Co/Other/save/setting.dat", "TextSpeed = 9\r\n");
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_EQ(settings().textSpeed, 20);
  EXPECT_FALSE(fs::exists(home / "Documents/Co/Game/save/setting.dat"));
}

TEST(CarryOver, RootDropsTheSecondNameAndItsSeparator) {
  EXPECT_EQ(carryOverRoot("/d/Co/Game/", 5), "/d/Co");
  EXPECT_EQ(carryOverRoot("/Game/", 5), "");
  EXPECT_EQ(carryOverRoot("Game/", 5), "");
  EXPECT_EQ(carryOverRoot("", 0), "");
}

class CarryOverSearch : public test::PersistTest {};

TEST_F(CarryOverSearch, FindsGamesWithSavedSettingsInNameOrder) {
  home.write("Co/Zeta/save/setting.dat", "x");
  home.write("Co/Alpha/save/setting.dat", "x");
  home.write("Co/Deep/er/save/setting.dat", "x");
  home.write("Co/Wrong/setting.dat", "x");            // not in a save folder
  home.write("Co/Named/save/oldsetting.dat", "x");    // matches the pattern, not the ending
  home.write("Co/Alpha/save/save000.dat", "x");
  const std::string root = home.path().string() + "/Co";
  EXPECT_EQ(findCarryOverGames(root), (std::vector<std::string>{"/Alpha", "/Deep/er", "/Zeta"}));
}

TEST_F(CarryOverSearch, SymbolicLinksAreNotFollowed) {
  home.write("elsewhere/Game/save/setting.dat", "x");
  home.write("Co/Real/save/setting.dat", "x");
  fs::create_directory_symlink(home / "elsewhere", home / "Co/Linked");
  fs::create_directory_symlink(home / "Co", home / "Co/Real/loop");
  EXPECT_EQ(findCarryOverGames(home.path().string() + "/Co"), std::vector<std::string>{"/Real"});
}

TEST_F(CarryOverSearch, MissingRootFindsNothing) {
  EXPECT_TRUE(findCarryOverGames(home.path().string() + "/none").empty());
  EXPECT_TRUE(findCarryOverGames("").empty());
}

TEST_F(CarryOverSearch, NoItemsShowNoDialog) {
  setHeadlessAnswers({"no"});
  EXPECT_FALSE(chooseCarryOverGame({}).has_value());
  EXPECT_EQ(engine().quitFlag, 0);
  setHeadlessAnswers({});
}

}  // namespace
}  // namespace vellum
