// Games packed with vellum-pack and run headless: the save-location questions, the settings on disk
// and the configuration commands as a script sees them.
#include <gtest/gtest.h>

#include <filesystem>

#include "persist_fixture.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

class SettingsScript : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(home / "Documents"); }

  test::ProcessResult run(const std::string& script, const std::string& options = "") {
    test::writeScriptContainer(game, {{"script/0.txt", test::gbk(script)}});
    return test::runTool("vellum", "--headless " + options + " --game " + game.path().string());
  }
  fs::path documentsGame() const { return home / "Documents/Co/Game"; }

  test::TempFolder game;
  test::TempFolder home;
  test::ScopedEnvironment homeVariable{"HOME", home.path().string()};
  test::ScopedEnvironment configVariable{"XDG_CONFIG_HOME", (home.path() / ".config").string()};
};

TEST_F(SettingsScript, CancelOnFirstRunQuitsWithoutWriting) {
  const auto result = run("loadSetting \"/Co/\", \"Game/\"\nprint \"after\"\n", "--answers cancel");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("answer cancel"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(game / "save.dat"));
  EXPECT_FALSE(fs::exists(game / "save"));
  EXPECT_FALSE(fs::exists(home / "Documents/Co"));
}

TEST_F(SettingsScript, YesYesSavesUnderTheDocumentsFolder) {
  const auto result = run("loadSetting \"/Co/\", \"Game/\"\nprint \"after\"\n", "--answers yes,yes");
  EXPECT_EQ(result.out, "after");
  EXPECT_EQ(test::readFileBytes(game / "save.dat"), "1");
  // Both questions and both answers are on standard error.
  EXPECT_NE(result.err.find("可以在文件夹中保存数据吗？"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("要在文件夹中创建保存数据吗？ | " + documentsGame().string() + "/"), std::string::npos)
      << result.err;
  // The settings are written when the game ends.
  EXPECT_NE(test::inflatedFile(documentsGame() / "save/setting.dat").find("TotalTime = "), std::string::npos);
  EXPECT_FALSE(fs::exists(game / "save"));
}

TEST_F(SettingsScript, WithoutAnswersEveryBoxTakesItsFirstButton) {
  const auto result = run("loadSetting \"/Co/\", \"Game/\"\n");
  EXPECT_EQ(test::readFileBytes(game / "save.dat"), "1");
  EXPECT_TRUE(fs::is_regular_file(documentsGame() / "save/setting.dat"));
}

TEST_F(SettingsScript, EmptyMarkerMeansTheGameFolderAndNoQuestion) {
  game.write("save.dat", "");
  const auto result = run("loadSetting \"/Co/\", \"Game/\"\nprint \"after\"\n", "--answers cancel");
  EXPECT_EQ(result.out, "after");
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(fs::is_regular_file(game / "save/setting.dat"));
  EXPECT_FALSE(fs::exists(home / "Documents/Co"));
}

TEST_F(SettingsScript, NothingIsWrittenWithoutLoadSetting) {
  const auto result = run("saveSetting\nsaveAlready\nprint \"x\"\n");
  EXPECT_EQ(result.out, "x");
  EXPECT_FALSE(fs::exists(game / "save"));
}

TEST_F(SettingsScript, SettingsAndStoredVariablesSurviveTheNextRun) {
  game.write("save.dat", "");
  run("loadSetting \"/Co/\", \"Game/\"\nint s_level = 3, g_not = 4\nstring s_name = \"艾琳, 2\"\n"
      "setVoVolume 12\nsetMessSpeed 1, 9\n");
  const auto second = run(
      "loadSetting \"/Co/\", \"Game/\"\nprint %s_level, $s_name\ngetVoVolume %1\ngetMessSpeed %2\nprint \" \", %1, \" \", %2\n"
      "variableExist %3, %g_not\nprint \" \", %3\n");
  EXPECT_EQ(second.out, "3艾琳, 2 12 9 0");
}

struct CommandCase {
  const char* name;
  const char* script;  // runs after loadSetting
  const char* out;
};

class SettingsCommands : public SettingsScript, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(SettingsCommands, PrintWhatTheyStored) {
  game.write("save.dat", "");
  const auto result = run(std::string("loadSetting \"/Co/\", \"Game/\"\n") + GetParam().script);
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsCommands,
    ::testing::Values(
        CommandCase{"game_name", "getGameName $1\nprint $1\n", "Quillmere"},
        CommandCase{"defaults",
                    "getEffectSkip %1\ngetEffectCancel %2\ngetPointWait %3\ngetWindowAlpha %4\ngetBgmVolume %5\n"
                    "getSeMute %6\ngetVoiceWait %7\nprint %1, %2, %3, %4, \",\", %5, %6, %7\n",
                    "01480,8011"},
        CommandCase{"value_unchanged", "setEffectSkip -7\ngetEffectSkip %1\nsetWindowAlpha 300\ngetWindowAlpha %2\nprint %1, \",\", %2\n",
                    "-7,300"},
        CommandCase{"point_wait_low_byte", "setPointWait 300\ngetPointWait %1\nprint %1\n", "44"},
        CommandCase{"flags_are_zero_or_one",
                    "setMessageFade 5\nsetAlreadyReadSkip 2\nsetSelectAutoMode 0\nsetVoiceCancel -1\n"
                    "getMessageFade %1\ngetAlreadyReadSkip %2\ngetSelectAutoMode %3\ngetVoiceCancel %4\nprint %1, %2, %3, %4\n",
                    "1101"},
        CommandCase{"volumes_and_mutes",
                    "setMasterVolume 55\nsetSysVoMute 3\nsetSysSeVolume 0\ngetMasterVolume %1\ngetSysVoMute %2\n"
                    "getSysSeVolume %3\nprint %1, %2, %3\n",
                    "5510"},
        CommandCase{"confirm_table_index_and_15",
                    "getConfirmDialog 4, %1\nsetConfirmDialog 9, 20\ngetConfirmDialog 4, %2\nsetConfirmDialog 0, 15\n"
                    "getConfirmDialog 31, %3\nprint %1, %2, %3\n",
                    "010"},
        CommandCase{"speed_pair", "setMessSpeed -1, 9\ngetMessSpeed %1\nsetMessSpeed 3, -1\ngetMessSpeed %2\nprint %1, %2\n",
                    "99"},
        CommandCase{"auto_wait_pair", "setAutoWait 100, 700\ngetAutoWait %1\nprint %1\n", "700"},
        CommandCase{"font_file", "setFontFile \"\", \"Sans\"\ngetFontFile $1\nsetFontFile \"Mono\", \"\"\ngetFontFile $2\nprint $1, $2\n",
                    "SansSans"},
        CommandCase{"paths", "setCursor \"a\\b.cur\"\nsetWallPaper \"w.png\"\ngetCursor $1\ngetWallPaper $2\nprint $1, \",\", $2\n",
                    "a\\b.cur,w.png"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsScript, BgmMinMaxAndSaveSettingReachTheFile) {
  game.write("save.dat", "");
  run("loadSetting \"/Co/\", \"Game/\"\nsetBgmMinMax 3, 40\nsaveSetting\n");
  const std::string text = test::inflatedFile(game / "save/setting.dat");
  EXPECT_NE(text.find("\r\nBgmMax = 40\r\nBgmMin = 3\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vellum
