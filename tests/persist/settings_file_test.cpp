// setting.dat: the exact default text, round trips of every key, and the reading rules.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include <variant>

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "persist/persist_messages.h"
#include "persist/persist_state.h"
#include "persist/replace_file.h"
#include "persist/settings_file.h"
#include "persist/settings_table.h"
#include "persist/settings_text.h"
#include "persist_fixture.h"
#include "base/clock.h"
#include "script/variables.h"

namespace vellum {
namespace {

// Every key line of a file written with nothing changed, in file order.
const char* const kDefaultKeyLines[] = {
    "StartingSetUp = 1", "ResolutionWindow = 1", "Resolution = 0", "FullScreen = 0", "ScreenAspect = 0",
    "FullMode = 3", "WindowWidth = 0", "WindowHeight = 0", "WindowChange = 0", "WindowMenu = 1", "MenuLock1 = 1",
    "WindowPos = 0", "WindowMost = 0", "ClientLeft = 0", "ClientTop = 0", "CacheAutoSize = 1", "CacheMaxSize = 0",
    "LookaHead = 1", "HardwareVertex = 1", "VertexShader = 1", "PixelShader = 1", "Interpolation = 0",
    "TextureMax = -1", "TexturePow2 = 0", "TextureSquare = 0", "MipMap = 1", "ColorMode = 0", "ColorBlend = 1",
    "VSyncWait = 2", "LimitFPS = 0", "MMX = 1", "SSE = 1", "SSE2 = 1", "Thread = 1", "PowerSaver = 1", "TaskTray = 0",
    "SystemActive = 0", "CursorClear = 5000", "CursorMove = 1", "EffectSkip = 0", "EffectCancel = 1",
    "ConfirmSave = 1", "ConfirmLoad = 1", "ConfirmQSave = 1", "ConfirmQLoad = 1", "ConfirmMove = 0",
    "ConfirmDelete = 1", "ConfirmBack = 1", "ConfirmNext = 1", "ConfirmFormat = 1", "ConfirmReplay = 1",
    "ConfirmTitle = 1", "ConfirmExit = 1", "TextSpeed = 20", "MessageClick = 1", "AutoWait = 500", "AutoChar = 50",
    "PointWait = 4", "MessageFade = 1", "AlreadyReadSkip = 0", "AlreadyReadAutoSkip = 0", "AlreadyReadMoment = 0",
    "SelectSkipMode = 0", "SelectAutoMode = 0", "FontFile = \x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e",
    "FontStyle = 30", "FontColor1 = 0xFFFFFF", "FontColor2 = 0xFFFFFF", "FontColor3 = 0x0", "WindowAlpha = 80",
    "HardwareSound = 0", "StreamBufferSize = 64", "GlobalFocus = 1", "MasterVolume = 80", "MasterMute = 1",
    "MovieVolume = 80", "MovieMute = 1", "BgmVolume = 80", "BgmMute = 1", "SeVolume = 80", "SeMute = 1",
    "SysSeVolume = 80", "SysSeMute = 1", "VoVolume = 80", "VoMute = 1", "SysVoVolume = 80", "SysVoMute = 1",
    "VoiceCancel = 0", "VoiceWait = 1", "BgmVolDown = 1", "BgmMax = 30", "BgmMin = 15", "SeVolDown = 1",
    "SeMax = 100", "SeMin = 50", "FadeVolDown = 250", "ReadAloud = 0", "ReadAloudOverVoice = 0", "PadEnable = 1", "PadLayout = 0", "PadButtons = ",
    "PadDeadZone = 40", "PadRepeatDelay = 400", "PadRepeatInterval = 150",
};

std::string defaultText(uint32_t totalTime) {
  std::string text = "TotalTime = " + itos16(totalTime);
  for (const char* line : kDefaultKeyLines) text += std::string("\r\n") + line;
  text += "\r\nCursorFile = \r\nWallPaper = \r\nsaveProtect=";
  for (int i = 0; i < 100; ++i) text += "0,";
  text += "\r\nInteger=\r\nString=\r\n";
  return text;
}

class SettingsFile : public test::PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    engine().startTime = tickMilliseconds();
    PersistState& p = persistState();
    p.saveDirectory = game.withSlash() + "save/";
    p.settingsPath = p.saveDirectory + "setting.dat";
  }
  std::filesystem::path settingsFile() const { return persistState().settingsPath; }
  void writeSettingsText(const std::string& text) { test::writeCompressed(game, "save/setting.dat", text); }
};

TEST_F(SettingsFile, DefaultFileInflatesToTheTableText) {
  ASSERT_TRUE(writeSettings());
  EXPECT_EQ(test::inflatedFile(settingsFile()), defaultText(0));
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(SettingsFile, TableHasEveryKeyOnceInFileOrder) {
  const auto table = settingsTable();
  ASSERT_EQ(table.size(), 1 + std::size(kDefaultKeyLines) + 2);
  EXPECT_EQ(table.front().name, "TotalTime");
  for (size_t i = 0; i < std::size(kDefaultKeyLines); ++i) {
    const std::string line = kDefaultKeyLines[i];
    EXPECT_EQ(table[i + 1].name, line.substr(0, line.find(' '))) << i;
  }
  EXPECT_EQ(table[table.size() - 2].name, "CursorFile");
  EXPECT_EQ(table.back().name, "WallPaper");
}

// Gives every key a value unlike its default, remembers it, writes, resets, reads back.
TEST_F(SettingsFile, EveryKeyRoundTrips) {
  int64_t n = 3;
  std::vector<std::pair<const SettingKey*, int64_t>> numbers;
  for (const SettingKey& key : settingsTable()) {
    if (key.format == SettingFormat::PlayTime) continue;
    if (auto text = std::get_if<std::string*>(&key.stored)) {
      **text = "dir\\" + std::string(key.name) + ".png";
      continue;
    }
    const int64_t value = key.format == SettingFormat::Megabytes ? (n << 20) : key.format == SettingFormat::Colour ? 0xA0B0C0 + n : n;
    setSlotValue(key.stored, value);
    numbers.push_back({&key, value});
    ++n;
  }
  settings().totalTime = 0x1234;
  settings().saveProtect[7] = -3;
  variables().namedInts["s_count"] = 42;
  variables().namedStrings["s_name"] = "a,b";
  variables().namedInts["g_other"] = 9;
  ASSERT_TRUE(writeSettings());

  resetSettings();
  variables().namedInts.clear();
  variables().namedStrings.clear();
  ASSERT_TRUE(readSettings());
  for (const auto& [key, value] : numbers) EXPECT_EQ(slotValue(key->stored), value) << key->name;
  EXPECT_EQ(settings().fontFile, "dir\\FontFile.png");
  EXPECT_EQ(settings().currentFontName, "dir\\FontFile.png");
  EXPECT_EQ(settings().cursorFile, "dir/CursorFile.png");  // written with forward slashes
  EXPECT_EQ(settings().wallPaper, "dir/WallPaper.png");
  EXPECT_GE(settings().totalTime, 0x1234u);
  EXPECT_EQ(settings().saveProtect[7], -3);
  EXPECT_EQ(variables().namedInts["s_count"], 42);
  EXPECT_EQ(variables().namedStrings["s_name"], "a,b");
  EXPECT_EQ(variables().namedInts.count("g_other"), 0u);
  EXPECT_EQ(settings().liveTextSpeed, settings().textSpeed);
  EXPECT_EQ(settings().liveFontColor3, settings().fontColor3);
  EXPECT_TRUE(reports.boxes.empty());
}

struct ReadCase {
  const char* name;
  std::string text;
  void (*check)();
  void (*prepare)() = nullptr;  // state before the file is read
};

class SettingsRead : public SettingsFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SettingsRead, AppliesTheFile) {
  if (GetParam().prepare) GetParam().prepare();
  writeSettingsText(GetParam().text);
  ASSERT_TRUE(readSettings());
  GetParam().check();
  EXPECT_TRUE(reports.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsRead,
    ::testing::Values(
        ReadCase{"total_time_only", "TotalTime = 1F\r\n",
                 [] {
                   EXPECT_EQ(settings().totalTime, 31u);
                   EXPECT_EQ(settings().textSpeed, 20);
                   EXPECT_EQ(settings().fullMode, 3);
                   EXPECT_EQ(settings().interpolation, 0);  // a file was there: not a first run
                 }},
        ReadCase{"colour_sets_stored_and_live", "FontColor1 = 0x00FF00\r\n",
                 [] {
                   EXPECT_EQ(settings().fontColor1, 0x00FF00u);
                   EXPECT_EQ(settings().liveFontColor1, 0x00FF00u);
                 }},
        ReadCase{"cache_size_in_bytes", "CacheMaxSize = 256\r\n",
                 [] {
                   EXPECT_EQ(settings().cacheMaxSize, 268435456);
                   EXPECT_NE(composeSettingsText().find("\r\nCacheMaxSize = 256\r\n"), std::string::npos);
                 }},
        ReadCase{"cache_size_beyond_32_bits", "CacheMaxSize = 8192\r\n",
                 [] { EXPECT_EQ(settings().cacheMaxSize, int64_t{8192} << 20); }},
        ReadCase{"missing_key_keeps_value", "TextSpeed = 5\r\n",
                 [] {
                   EXPECT_EQ(settings().textSpeed, 5);
                   EXPECT_EQ(settings().autoWait, 500);
                 }},
        ReadCase{"pad_buttons_keep_their_words_and_older_files_keep_the_pad_defaults",
                 "PadButtons = y:key32 back:menu\r\nPadLayout = 2\r\n",
                 [] {
                   EXPECT_EQ(settings().padButtons, "y:key32 back:menu");
                   EXPECT_EQ(settings().padLayout, 2);
                   EXPECT_EQ(settings().padEnable, 1);
                   EXPECT_EQ(settings().padDeadZone, 40);
                 }},
        ReadCase{"later_duplicate_wins", "TextSpeed = 5\r\nTextSpeed = 9\r\n", [] { EXPECT_EQ(settings().textSpeed, 9); }},
        ReadCase{"lenient_numbers", "TextSpeed = -1a\r\nTotalTime = ff\r\n",
                 [] {
                   EXPECT_EQ(settings().textSpeed, -20);
                   EXPECT_EQ(settings().totalTime, 255u);
                 }},
        ReadCase{"system_active_is_or_ed", "SystemActive = 1\r\n", [] { EXPECT_EQ(settings().systemActive, 3); },
                 [] { settings().systemActive = 2; }},
        ReadCase{"integers_assign_variables", "Integer=s_a=1,s_b=2,\r\n",
                 [] {
                   EXPECT_EQ(variables().namedInts["s_a"], 1);
                   EXPECT_EQ(variables().namedInts["s_b"], 2);
                   EXPECT_EQ(variables().namedInts.size(), 2u);
                 }},
        ReadCase{"string_with_comma_in_quotes", "String=s_t='x,y',\r\n",
                 [] { EXPECT_EQ(variables().namedStrings["s_t"], "x,y"); }},
        ReadCase{"fewer_protect_flags_keep_the_rest", "saveProtect=1,-1\r\n",
                 [] {
                   EXPECT_EQ(settings().saveProtect[0], 1);
                   EXPECT_EQ(settings().saveProtect[1], -1);
                   EXPECT_EQ(settings().saveProtect[2], 5);
                 },
                 [] { settings().saveProtect[2] = 5; }},
        ReadCase{"frame_pacing", "LimitFPS = 60\r\n",
                 [] {
                   EXPECT_EQ(settings().pacingMilliseconds, 50);
                   EXPECT_EQ(settings().pacingFrames, 3);
                 }},
        ReadCase{"font_file_becomes_current_font", "FontFile = Serif\r\n",
                 [] {
                   EXPECT_EQ(settings().fontFile, "Serif");
                   EXPECT_EQ(settings().currentFontName, "Serif");
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, FirstRunSetsInterpolationOnly) {
  settings().textSpeed = 7;
  ASSERT_TRUE(readSettings());
  EXPECT_EQ(settings().interpolation, 2);
  EXPECT_EQ(settings().textSpeed, 7);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(SettingsFile, OversizedFileIsRejectedAndDefaultsStay) {
  game.write("save/setting.dat", std::string(1048577, 'x'));
  EXPECT_FALSE(readSettings());
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], persistState().settingsPath + std::string(persist_messages::kBadFileLength));
  EXPECT_EQ(settings().textSpeed, 20);
  EXPECT_EQ(settings().interpolation, 0);
}

TEST_F(SettingsFile, CorruptStreamIsRejectedAndDefaultsStay) {
  game.write("save/setting.dat", std::string("\x40\x00\x00\x00", 4) + "this is not deflate data");
  EXPECT_FALSE(readSettings());
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], persistState().settingsPath + std::string(persist_messages::kInflateFailed));
  EXPECT_EQ(settings().fontColor1, 0xFFFFFFu);
}

TEST_F(SettingsFile, OtherGamesFileBringsNoFlagsOrVariables) {
  test::writeCompressed(game, "other/save/setting.dat",
                        "TotalTime = 99\r\nTextSpeed = 3\r\nsaveProtect=1,1,\r\nInteger=s_x=5,\r\nString=s_y='z',\r\n");
  const std::string other = (game / "other/save/setting.dat").string();
  ASSERT_TRUE(readSettings(&other));
  EXPECT_EQ(settings().textSpeed, 3);
  EXPECT_EQ(settings().totalTime, 0x99u);
  EXPECT_EQ(settings().saveProtect[0], 0);
  EXPECT_TRUE(variables().namedInts.empty());
  EXPECT_TRUE(variables().namedStrings.empty());
  EXPECT_EQ(settings().interpolation, 2);  // this game had no file of its own
}

bool interruptAfterWrite(const std::string&, const std::string&) { return false; }

TEST_F(SettingsFile, DyingBetweenWriteAndRenameLeavesThePreviousFile) {
  settings().textSpeed = 11;
  ASSERT_TRUE(writeSettings());
  settings().textSpeed = 12;
  setReplaceInterruption(&interruptAfterWrite);
  EXPECT_FALSE(writeSettings());
  setReplaceInterruption(nullptr);
  EXPECT_EQ(reports.boxes.size(), 1u);
  resetSettings();
  ASSERT_TRUE(readSettings());
  EXPECT_EQ(settings().textSpeed, 11);
}

TEST_F(SettingsFile, NothingIsWrittenBeforeLoadSetting) {
  persistState() = PersistState{};
  EXPECT_FALSE(writeSettings());
  EXPECT_FALSE(std::filesystem::exists(game / "save"));
}

TEST_F(SettingsFile, UnwritableSaveFolderIsReported) {
  game.write("save", "a file where the folder should be");
  EXPECT_FALSE(writeSettings());
  EXPECT_EQ(reports.boxes.size(), 1u);
}

TEST(SettingsText, BackslashesTurnIntoSlashesOutsideDoubleByteCharacters) {
  EXPECT_EQ(withForwardSlashes("a\\b\\c"), "a/b/c");
  EXPECT_EQ(withForwardSlashes("\x95\\\\x"), "\x95\\/x");  // 0x95 0x5C is one character
}

}  // namespace
}  // namespace vellum
