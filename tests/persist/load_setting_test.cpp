// loadSetting: the marker, the three questions, the carry-over search and what gets read.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/engine_state.h"
#include "persist/carry_over.h"
#include "persist/engine_settings.h"
#include "persist/load_setting.h"
#include "persist/persist_state.h"
#include "persist/settings_file.h"
#include "persist_fixture.h"
#include "base/clock.h"
#include "platform/list_dialog.h"
#include "platform/question_box.h"
#include "script/script_state.h"
#include "script/variables.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

class LoadSetting : public test::PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    fs::create_directories(home / "Documents");
    engine().startTime = tickMilliseconds();  // this run has played no time yet
  }
  void TearDown() override {
    setHeadlessAnswers({});
    setHeadlessListPresses({});
    PersistTest::TearDown();
  }
  // Presses the dialog's buttons in order; after the last one the dialog picks nothing.
  void press(std::vector<ListChoice> presses) {
    setHeadlessListPresses([presses = std::move(presses), next = size_t{0}](const ListDialog&) mutable {
      return next < presses.size() ? presses[next++] : ListChoice{ListAction::Choose, -1};
    });
  }
  void otherGame(const std::string& name, const std::string& text) {
    test::writeCompressed(home, "Documents/Co/" + name + "/save/setting.dat", text);
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

// Where the two names of loadSetting put the saves when they live under the Documents folder.
struct SaveFolderCase {
  const char* name;
  const char* first;
  const char* second;
  bool documentsExists;
  const char* folder;  // under the Documents folder (under home without one), ending in '/' or empty
};

class LoadSettingSaveFolder : public LoadSetting, public ::testing::WithParamInterface<SaveFolderCase> {};

TEST_P(LoadSettingSaveFolder, SavesLandInsideTheDocumentsFolder) {
  const SaveFolderCase& c = GetParam();
  if (!c.documentsExists) fs::remove_all(home / "Documents");
  const std::string base = c.documentsExists ? documents() + "/" : home.withSlash();
  game.write("save.dat", "1");
  loadSetting(c.first, c.second);
  EXPECT_EQ(engine().userDataDirectory, base + c.folder);
  EXPECT_EQ(persistState().saveDirectory, base + c.folder + "save/");
  ASSERT_TRUE(writeSettings());
  EXPECT_TRUE(fs::is_regular_file(base + c.folder + "save/setting.dat"));
  // Nothing lands beside the home folder or beside the Documents folder.
  EXPECT_FALSE(fs::exists(home.path().string() + "save"));
  std::vector<std::string> inHome;
  for (const auto& entry : fs::directory_iterator(home.path())) inHome.push_back(entry.path().filename().string());
  const std::string top = std::string(c.folder).substr(0, std::string(c.folder).find('/'));
  EXPECT_EQ(inHome, std::vector<std::string>{c.documentsExists ? "Documents" : top.empty() ? "save" : top});
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoadSettingSaveFolder,
    ::testing::Values(
        SaveFolderCase{"no_names_save_in_the_documents_folder", "", "", true, ""},
        SaveFolderCase{"bare_names_get_separators", "Studio", "Game", true, "Studio/Game/"},
        SaveFolderCase{"windows_names_bring_backslashes", "\\Studio\\", "Game\\", true, "Studio/Game/"},
        SaveFolderCase{"slashes_on_both_ends", "/Co/", "Game/", true, "Co/Game/"},
        SaveFolderCase{"doubled_separators_become_one", "Studio\\\\", "\\\\Game", true, "Studio/Game/"},
        SaveFolderCase{"separators_inside_a_name_stay", "Studio\\Label", "Game", true, "Studio/Label/Game/"},
        SaveFolderCase{"only_a_studio", "Studio", "", true, "Studio/"},
        SaveFolderCase{"only_a_game", "", "Game", true, "Game/"},
        // 乗 ends in the byte 0x5C: a trail byte, not a separator.
        SaveFolderCase{"double_byte_names", "\xc9\xe7", "\x81\x5c", true, "\xe7\xa4\xbe/\xe4\xb9\x97/"},
        SaveFolderCase{"no_documents_folder_saves_under_home", "", "", false, ""},
        SaveFolderCase{"no_documents_folder_with_names", "Studio", "Game", false, "Studio/Game/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadSetting, HeadlessCarryOverPicksNothingAndReadsOwnDefaults) {
  game.write("save.dat", "1");
  test::writeCompressed(home, "Documents/Co/Other/save/setting.dat", "TextSpeed = 9\r\n");
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 0);
  EXPECT_EQ(settings().textSpeed, 20);
  EXPECT_FALSE(fs::exists(home / "Documents/Co/Game/save/setting.dat"));
}

TEST_F(LoadSetting, CarryOverReadsTheChosenGameAndWritesOurOwnFile) {
  game.write("save.dat", "1");
  otherGame("A", "TotalTime = 500\r\nTextSpeed = 9\r\nsaveProtect=1,1\r\nInteger=s_x=5,\r\n");
  otherGame("B", "TextSpeed = 4\r\n");
  settings().saveProtect[0] = 7;
  variables().namedInts["s_mine"] = 2;
  // Pick B, say no; pick A, say yes.
  press({{ListAction::Choose, 1}, {ListAction::Choose, 0}});
  answer({"no", "yes"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(settings().textSpeed, 9);
  EXPECT_EQ(settings().totalTime, 0u);
  EXPECT_EQ(settings().saveProtect[0], 7);
  EXPECT_EQ(variables().namedInts.count("s_x"), 0u);
  const std::string written = test::inflatedFile(home / "Documents/Co/Game/save/setting.dat");
  EXPECT_EQ(written.rfind("TotalTime = 0\r\nStartingSetUp = 1\r\n", 0), 0u) << written;
  EXPECT_NE(written.find("\r\nTextSpeed = 9\r\n"), std::string::npos);
  EXPECT_NE(written.find("s_mine=2,"), std::string::npos);
  EXPECT_EQ(engine().quitFlag, 0);
}

TEST_F(LoadSetting, CarryOverQuitButtonEndsLoadSetting) {
  game.write("save.dat", "1");
  otherGame("A", "TextSpeed = 9\r\n");
  test::writeCompressed(home, "Documents/Co/Game/save/already.dat", "S5=1\r\n");
  scriptState().readFlags[5] = {{0, 0}};
  press({{ListAction::Quit, -1}});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(engine().quitFlag, 1);
  EXPECT_EQ(settings().textSpeed, 20);
  EXPECT_EQ(scriptState().readFlags[5][0], 0);  // nothing more was read
}

TEST_F(LoadSetting, CarryOverNothingChosenThenNoReturnsToTheList) {
  game.write("save.dat", "1");
  otherGame("A", "TextSpeed = 9\r\n");
  // Confirm with nothing selected, refuse to go without; then pick A and accept.
  press({{ListAction::Choose, -1}, {ListAction::Choose, 0}});
  answer({"no", "yes"});
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(settings().textSpeed, 9);
}

TEST_F(LoadSetting, ReadFlagsAreReadAfterTheSettings) {
  game.write("save.dat", "");
  test::writeCompressed(game, "save/already.dat", "S5=01\r\n");
  scriptState().readFlags[5] = {{0, 0}, {2, 0}};
  loadSetting("/Co/", "Game/");
  EXPECT_EQ(scriptState().readFlags[5], (ReadFlagTable{{0, 0}, {2, 1}}));
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
