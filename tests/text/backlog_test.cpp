// The backlog ring and its commands, the auto and skip modes and their event codes, and the read
// flags that start and stop skipping, run through the interpreter.
#include <filesystem>
#include <fstream>

#include "message_fixture.h"
#include "script/expression.h"
#include "script/read_mode.h"
#include "shell/input/mode_keys.h"

namespace vellum::test {
namespace {

class Backlog : public MessageTest {
 protected:
  int32_t intVariable(const std::string& name) {
    const int32_t* v = findIntVariable("%" + name);
    return v ? *v : -999;
  }
  std::string stringVariable(const std::string& name) {
    const std::string* v = findStringVariable("$" + name);
    return v ? *v : "<none>";
  }
  // Lines committing `pages` pages "p0", "p1", ... each with rows = its number.
  static std::string pages(int from, int to) {
    std::string lines;
    for (int i = from; i < to; ++i)
      lines += "setLog \"p" + std::to_string(i) + "\", " + std::to_string(i % 7) + ", 0\nclearMess 0\n";
    return lines;
  }
};

// ---- modes -------------------------------------------------------------------------------------

struct ModeCase {
  const char* name;
  bool autoOn, skipOn, read;
  int alreadyReadSkip, visible;
  const char* command;  // a script line, or "shift" / "tab" for the keys
  bool autoAfter, skipAfter, transientAfter;
  int event;
};

const ModeCase kModeCases[] = {
    {"auto_on", false, false, false, 0, 3, "setAuto 1", true, false, false, 0x02},
    {"auto_on_while_skipping", false, true, true, 0, 3, "setAuto 1", true, false, false, 0x22},
    {"auto_needs_a_visible_window", false, false, false, 0, 0, "setAuto 1", false, false, false, 0},
    {"auto_toggle_off", true, false, false, 0, 3, "setAuto 2", false, false, false, 0x11},
    {"auto_toggle_on", false, true, true, 0, 3, "setAuto 2", true, false, false, 0x02},
    {"shift_is_auto_toggle", true, false, false, 0, 3, "shift", false, false, false, 0x11},
    {"skip_unread_refused", false, false, false, 0, 3, "setSkip 1", false, false, false, 0},
    {"skip_unread_allowed", false, false, false, 1, 3, "setSkip 1", false, true, true, 0x03},
    {"skip_read_ends_auto", true, false, true, 0, 3, "setSkip 1", false, true, true, 0x13},
    {"skip_toggle_off", false, true, true, 0, 3, "setSkip 2", false, false, false, 0x21},
    {"skip_toggle_on", true, false, true, 0, 3, "setSkip 2", false, true, true, 0x03},
    {"tab_is_skip_toggle", false, true, true, 0, 3, "tab", false, false, false, 0x21},
    {"skip_needs_a_visible_window", false, false, true, 1, 0, "setSkip 1", false, false, false, 0},
    {"auto_zero_ends_skip", false, true, true, 0, 3, "setAuto 0", false, false, false, 0x21},
    {"skip_zero_ends_auto", true, false, false, 0, 3, "setSkip 0", false, false, false, 0x11},
    {"zero_with_nothing_on", false, false, false, 0, 3, "setSkip 0", false, false, false, 0x01},
    {"other_arguments_ignored", true, false, false, 0, 3, "setAuto 5", true, false, false, 0},
};

TEST_F(Backlog, ModeSwitchesPostTheirEventCodes) {
  for (const ModeCase& c : kModeCases) {
    SCOPED_TRACE(c.name);
    restart();
    ReadModeState& r = readMode();
    r.autoActive = c.autoOn;
    r.skipActive = r.transientSkip = c.skipOn;
    r.currentMessageRead = c.read ? 1 : 0;
    r.alreadyReadSkip = c.alreadyReadSkip;
    r.windowVisible = c.visible;
    const std::string command = c.command;
    if (command == "shift") {
      toggleAutoMode();
    } else if (command == "tab") {
      toggleSkipMode();
    } else {
      script(command + "\n");
    }
    EXPECT_EQ(r.autoActive, c.autoAfter);
    EXPECT_EQ(r.skipActive, c.skipAfter);
    EXPECT_EQ(r.transientSkip, c.transientAfter);
    EXPECT_EQ(r.pendingModeEvent, c.event);
  }
}

TEST_F(Backlog, EndingModesKeepsAnEventAlreadyPending) {
  readMode().autoActive = true;
  readMode().pendingModeEvent = 0x41;
  script("setAuto 0\n");
  EXPECT_FALSE(readMode().autoActive);
  EXPECT_EQ(readMode().pendingModeEvent, 0x41);
}

TEST_F(Backlog, ModeWordsReportEachState) {
  readMode().alreadyReadSkip = 1;
  script("int m\nint s\nint a\nint b\nsetSkip 1\ngetMode %m\ngetSkip %s\nsetAuto 1\ngetMode %a\ngetSkip %b\n");
  EXPECT_EQ(intVariable("m"), 6);
  EXPECT_EQ(intVariable("s"), 3);
  EXPECT_EQ(intVariable("a"), 1);
  EXPECT_EQ(intVariable("b"), 0);
}

TEST_F(Backlog, StopModeAtAChoiceFollowsTheSelectSettings) {
  struct Case {
    int selectSkip;
    bool skipAfter;
    int event;
  };
  for (const Case c : {Case{0, true, 0}, Case{1, false, 0x21}}) {
    restart();
    readMode().skipActive = readMode().transientSkip = true;
    readMode().selectSkipMode = c.selectSkip;
    readMode().alreadyReadAutoSkip = 3;
    script("stopMode\n");
    EXPECT_EQ(readMode().skipActive, c.skipAfter);
    EXPECT_EQ(readMode().pendingModeEvent, c.event);
    EXPECT_EQ(readMode().alreadyReadAutoSkip, c.selectSkip ? 1 : 3);
  }
}

TEST_F(Backlog, WindowVisibleValueIsStoredAsGiven) {
  script("int v\nsetWindowVisible 6\ngetWindowVisible %v\nint r\nint f1\nint f2\ngetAlreadyRead %r\n"
         "getAlreadyReadFlag %f1, %f2\n");
  EXPECT_EQ(intVariable("v"), 6);
  EXPECT_EQ(intVariable("r"), 0);
  EXPECT_EQ(intVariable("f1"), 0);
  EXPECT_EQ(intVariable("f2"), 0);
}

// ---- read flags --------------------------------------------------------------------------------

// Runs three messages, the first two already read, recording the modes after each.
class ReadFlags : public Backlog {
 protected:
  struct Seen {
    bool skip;
    int event;
    int autoSkip;
  };
  std::vector<Seen> seen;

  void runMessages(const std::vector<int>& readBefore) {
    createWindow();
    static std::vector<Seen>* out = nullptr;
    out = &seen;
    registerCommand("probe", [](const char*, int) {
      ReadModeState& r = readMode();
      out->push_back({r.skipActive, r.pendingModeEvent, r.alreadyReadAutoSkip});
      r.pendingModeEvent = 0;
    });
    std::string lines;
    for (size_t i = 0; i < readBefore.size(); ++i) lines += gbk("甲乙") + "\n\nprobe\n";
    addScript("script/0.txt", lines, 0);
    ScriptState& s = scriptState();
    ASSERT_EQ(s.readFlags.size(), 1u);
    ReadFlagTable& table = s.readFlags.begin()->second;
    for (size_t i = 0; i < readBefore.size(); ++i) table[static_cast<int>(i * 3)] = readBefore[i];
    run();
  }
};

TEST_F(ReadFlags, AutoSkipStartsOnReadTextAndStopsAtUnread) {
  readMode().alreadyReadAutoSkip = 1;
  runMessages({1, 1, 0});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[0].skip);
  EXPECT_EQ(seen[0].event, 3);
  EXPECT_EQ(seen[0].autoSkip, 3);
  EXPECT_TRUE(seen[1].skip);
  EXPECT_EQ(seen[1].event, 0);
  EXPECT_FALSE(seen[2].skip);
  EXPECT_EQ(seen[2].event, 0x21);
  EXPECT_EQ(seen[2].autoSkip, 1);
  EXPECT_EQ(scriptState().readFlags.begin()->second[6], 1);
}

TEST_F(ReadFlags, SkippingStopsAtUnreadTextUnlessAllowed) {
  for (const int allowed : {0, 1}) {
    SCOPED_TRACE(allowed);
    restart();
    seen.clear();
    readMode().alreadyReadSkip = allowed;
    readMode().skipActive = true;
    runMessages({1, 0});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].skip);
    EXPECT_EQ(seen[1].skip, allowed == 1);
    EXPECT_EQ(seen[1].event, allowed ? 0 : 0x21);
  }
}

// ---- the ring ----------------------------------------------------------------------------------

TEST_F(Backlog, RingWrapsAfter200PagesAndGetLog1IsTheLastPage) {
  script(pages(0, 200) + "int c\nint rows\nstring last\nstring oldest\ngetLogCount %c\ngetLog 1, $last\n"
         "getLogLine 1, %rows\ngetLog 199, $oldest\n");
  EXPECT_EQ(backlog().index, 0);
  EXPECT_EQ(intVariable("c"), 200);
  EXPECT_EQ(stringVariable("last"), "p199");
  EXPECT_EQ(intVariable("rows"), 199 % 7);
  EXPECT_EQ(stringVariable("oldest"), "p1");
}

TEST_F(Backlog, CountGrowsOnlyWithPagesThatExist) {
  script("int a\nint b\ngetLogCount %a\nsetLog \"x\", 1, 0\nclearMess 1\nclearMess 1\ngetLogCount %b\n" + pages(0, 3) +
         "int c\ngetLogCount %c\n");
  EXPECT_EQ(intVariable("a"), 1);
  EXPECT_EQ(intVariable("b"), 1);
  EXPECT_EQ(intVariable("c"), 4);
}

TEST_F(Backlog, ClearMessOneKeepsTheIndexSoTheNextPageOverwrites) {
  script(pages(0, 2) + "setLog \"kept\", 1, 0\nclearMess 1\nsetLog \"over\", 2, 0\nclearMess 0\nstring a\nstring b\n"
         "getLog 1, $a\ngetLog 2, $b\n");
  EXPECT_EQ(backlog().index, 3);
  EXPECT_EQ(stringVariable("a"), "over");
  EXPECT_EQ(stringVariable("b"), "p1");
}

TEST_F(Backlog, DistancesOutsideTheRingAreReported) {
  for (const char* line : {"getLog 200, $t", "getLog -1, $t", "getTagLog 500, $t", "getLogLine 200, %n",
                           "getSaveLog -3, %n", "getImgLog 5, 200"}) {
    SCOPED_TRACE(line);
    restart();
    const size_t before = reports.boxes.size();
    script(std::string("string t = \"unchanged\"\nint n = 7\n") + line + "\n");
    EXPECT_EQ(reports.boxes.size(), before + 1);
    EXPECT_TRUE(stringVariable("t") == "" || stringVariable("t") == "unchanged");
  }
}

TEST_F(Backlog, TagsAndTextsAreCutAtCharacterBoundaries) {
  const std::string wide(150 * 2, '\xb0');  // 150 GBK characters, each 0xB0 0xB0
  const std::string longText(600 * 2, '\xb1');
  backlog().current().text[0] = '\0';
  addScript("script/0.txt", "setTagLog \"a" + wide + "\"\nsetLog \"" + longText + "\", 1, 0\n", 0);
  run();
  EXPECT_EQ(strlen(backlog().current().tag), 255u);  // "a" + 127 characters
  EXPECT_EQ(strlen(backlog().current().text), 1022u);
  restart();
  addScript("script/0.txt", "setTagLog \"" + wide + "\"\nsetLog \"ab\", 1, 0\nsetLog \"" + longText + "\", 1, 1\n", 0);
  run();
  EXPECT_EQ(strlen(backlog().current().tag), 254u);
  EXPECT_EQ(strlen(backlog().current().text), 1022u);  // "ab" + 510 characters
  EXPECT_EQ(backlog().writeOffset, 1022);
}

TEST_F(Backlog, SpeakerNamesAreCutAtCharacterBoundaries) {
  createWindow();
  const std::string name = "a" + std::string(150 * 2, '\xb0');
  addScript("script/0.txt", "\xa1\xbe" + name + "\xa1\xbf" + gbk("甲") + "\n", 0);
  run();
  // The message ended its page, so its entry is the one before the current.
  EXPECT_EQ(backlog().back(1).nameLength, 255);
}

TEST_F(Backlog, SetLogRecordsSaveValuesAndClearsTheJumpTarget) {
  backlog().savePushDepth = 4;
  backlog().saveFlag = 0;
  scriptState().fastForwardTargetKey = 77;
  script("setLog \"x\", 2, 0\nint f\ngetSaveLog 0, %f\n");
  EXPECT_EQ(backlog().current().pushDepth, 4);
  EXPECT_EQ(intVariable("f"), 0);
  EXPECT_EQ(backlog().current().originKey, 0u);
  EXPECT_EQ(backlog().current().originLine, 1);  // the line after setLog
  EXPECT_EQ(scriptState().fastForwardTargetKey, 0u);
}

TEST_F(Backlog, SetLogInsideASubroutineRecordsTheOutermostCaller) {
  script("int z\ngosub *outer\nend\n*outer\ngosub *inner\nreturn\n*inner\nsetLog \"x\", 2, 0\nreturn\n");
  const BacklogEntry& e = backlog().current();
  EXPECT_EQ(e.originKey, scriptState().slots[0].key);
  EXPECT_NE(e.originKey, 0u);
  EXPECT_EQ(e.originLine, 0);  // one before the gosub's line, as a save's resume position
}

TEST_F(Backlog, CommitRecordsTheCameraWhereItsMovesEnd) {
  script("sc_w 150, 100000, 0, 0\nsetLog \"a\", 1, 0\nclearMess 0\n");
  const BacklogEntry& e = backlog().back(1);
  EXPECT_EQ(e.screenX, 0);
  EXPECT_EQ(e.screenW, 150);
  EXPECT_EQ(e.screenH, 100);
}

TEST_F(Backlog, FormatMessEmptiesTheWholeRing) {
  script(pages(0, 5) + "setTagLog \"who\"\nformatMess\nint c\nstring t\nstring g\ngetLogCount %c\ngetLog 1, $t\n"
         "getTagLog 0, $g\n");
  EXPECT_EQ(backlog().index, 0);
  EXPECT_EQ(intVariable("c"), 1);
  EXPECT_EQ(stringVariable("t"), "");
  EXPECT_EQ(stringVariable("g"), "");
}

TEST_F(Backlog, LuaAndSquirrelReachTheSameCommands) {
  std::filesystem::create_directories(game / "lua");
  std::ofstream(game / "lua" / "a.lua") << "setLog('from lua', 3, 0)\nclearMess(0)\n"
                                           "setScriptString('t', getLog(1))\nsetScriptInteger('r', getLogLine(1))\n";
  std::filesystem::create_directories(game / "squ");
  std::ofstream(game / "squ" / "a.nut") << "setTagLog(\"sq\");\nsetScriptString(\"g\", getTagLog(0));\n"
                                           "setScriptInteger(\"c\", getLogCount());\nsetAuto(1);\n";
  script("string t\nint r\nstring g\nint c\nloadLua \"lua/a.lua\"\nloadSqu \"squ/a.nut\"\n");
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(stringVariable("t"), "from lua");
  EXPECT_EQ(intVariable("r"), 3);
  EXPECT_EQ(stringVariable("g"), "sq");
  EXPECT_EQ(intVariable("c"), 2);
  EXPECT_TRUE(readMode().autoActive);
}

}  // namespace
}  // namespace vellum::test
