// Composing a save block from a fixed state, restoring it, and the push stack and slot commands
// built on it (run in the test process, without a renderer: no sprites here).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/clock.h"
#include "engine/startup.h"
#include "persist/replace_file.h"
#include "save_fixture.h"
#include "scene/screen_transform.h"
#include "script/read_mode.h"
#include "sound/sound_system.h"
#include "storage/hashes.h"
#include "support/fake_clock.h"
#include "text/message_window.h"

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

// The nine per-entry list lines of a backlog whose entries are all zero but for the given ones.
std::string listLines(const std::string& savePerEntry = "0", const std::string& flagsPerEntry = "0") {
  std::string out;
  for (const char* key : {"msgScreenX", "msgScreenY", "msgScreenW", "msgScreenH", "msgCounts", "msgHash", "msgLine",
                          "msgSave", "saveFlags"}) {
    out += key;
    out += "=";
    const std::string& v = std::string(key) == "msgSave" ? savePerEntry : std::string(key) == "saveFlags" ? flagsPerEntry : "0";
    for (int i = 0; i < kBacklogEntries; ++i) out += v + ",";
    out += "0\n";
  }
  return out;
}

TEST_F(SaveTest, AFixedStateComposesToTheseLines) {
  intVariable("g_count") = 5;
  intVariable("local") = 9;  // not a "g_" variable: not saved
  variables().namedStrings["g_name"] = "Ann, \"Bo\"";
  setEntry(3, "hello", "tag");
  backlog().index = 4;
  backlog().count = 5;
  const std::string key = key32Text(crc64Of("script/0.txt"));
  const std::string expected = std::string(kEscapedMarkerLine) +
                               "ScQ=0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0, 0,0\n"
                               "ScXYWH=0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,0,0, 0,0,100,100\n"
                               "msgBuffer3=hello,tag\n"
                               "msgImage3=\n" +
                               listLines() +
                               "Massage=65536,65536,0,0,0,0,4,5,0\n"
                               "Font=,1000000,1000000,1000000,1000000,,0,FFFFFF,FFFFFF,0,0\n"
                               "Window=0,0,0,24,0,0,24,20,3,0,0,0,0,0,0\n"
                               "Integer=g_count=5,\n"
                               "String=g_name='Ann%2C %22Bo%22',\n"
                               "File=" + key + ",3\n";  // the line after the next one
  EXPECT_EQ(composeSaveBlock(), expected);
}

TEST_F(SaveTest, ComposeRestoreComposeGivesTheSameBlock) {
  intVariable("g_count") = -7;
  variables().namedStrings["g_text"] = "line\nbreak`and|pipe";
  setEntry(0, "first page", "\x83\x60");
  setEntry(1, "\x83\x60 second, page");
  BacklogEntry& e = backlog().entries[1];
  e.originKey = crc64Of("script/0.txt");
  e.originLine = 4;
  e.pushDepth = 2;
  e.saveFlag = 3;
  e.screenX = -12;
  e.screenW = 150;
  std::strcpy(e.imageLog[0].sourceName, "bg,1.png");
  e.imageLog[0].x = -5;
  e.imageLog[0].scaleX = -100;
  e.imageLog[0].rotation = -90;
  e.imageLog[0].cellCode = static_cast<int16_t>(0x8102);
  std::strcpy(e.imageLog[1].sourceName, "ch.png");
  std::strcpy(e.imageLog[1].secondSource, "mask|x");
  backlog().index = 2;
  backlog().count = 3;
  backlog().savePushDepth = 1;
  messageWindow().x = 40;
  messageWindow().log = {1, 2, 3, 4, 5, 6};
  const std::string first = composeSaveBlock();
  EXPECT_NE(first.find("msgBuffer1=\x83%60 second%2C page,\n"), std::string::npos) << first;

  resetAllState();
  SetUp();
  ASSERT_TRUE(restoreSaveBlock(first, false));
  EXPECT_EQ(entryText(1), "\x83\x60 second, page");
  EXPECT_EQ(intVariable("g_count"), -7);
  EXPECT_EQ(backlog().entries[1].imageLog[0].cellCode, static_cast<int16_t>(0x8102));
  EXPECT_EQ(readMode().currentMessageRead, 1);
  // The loop continues on the line after the stored one, two lines after the one that saved.
  EXPECT_EQ(scriptState().cursor.line, 3);
  EXPECT_EQ(scriptState().cursor.jumpFlag, 1);
  scriptState().cursor.line = 2;  // back on the line that saved
  EXPECT_EQ(composeSaveBlock(), first);
}

TEST_F(SaveTest, QuakeAndCameraTimesBecomeStartTimesAgain) {
  const uint32_t now = tickMilliseconds();
  ScreenTransform& t = screenTransform();
  t.quakeMask = 1;
  t.quakeX = {8, 3, 2, 1, now - 500, 100, 2.5f};
  t.camera[kCameraW].track = {now - 200, 1000, 100, 50, -3};
  t.camera[kCameraW].current = t.camera[kCameraW].pending = 110;
  const std::string block = composeSaveBlock();
  EXPECT_NE(block.find("\nScQ=1, 8,0, 3,0, 2,0, 50"), std::string::npos) << block;
  resetScreenTransform();
  ASSERT_TRUE(restoreSaveBlock(block, false));
  const uint32_t after = tickMilliseconds();
  // now - elapsed again, on the clock of the restore.
  EXPECT_LE(after - t.quakeX.start, after - now + 500 + 1);
  EXPECT_GE(after - t.quakeX.start, 500u);
  EXPECT_EQ(t.quakeX.amplitude, 8);
  EXPECT_FLOAT_EQ(t.quakeX.offset, 2.5f);
  EXPECT_GE(after - t.camera[kCameraW].track.start, 200u);
  EXPECT_EQ(t.camera[kCameraW].track.duration, 1000);
  EXPECT_FLOAT_EQ(t.camera[kCameraW].track.change, 50);
  EXPECT_FLOAT_EQ(t.camera[kCameraW].current, 110);
  // A time that was 0 (not started) stays 0.
  EXPECT_EQ(t.quakeY.start, 0u);
  EXPECT_EQ(t.camera[kCameraX].track.start, 0u);
}

TEST_F(SaveTest, MakeSaveKeepsTheFirstSnapshotUntilClearSave) {
  intVariable("g_v") = 1;
  makeSave();
  intVariable("g_v") = 2;
  makeSave();
  EXPECT_NE(saveStore().snapshot.find("Integer=g_v=1,"), std::string::npos);
  clearSave();
  makeSave();
  EXPECT_NE(saveStore().snapshot.find("Integer=g_v=2,"), std::string::npos);
}

TEST_F(SaveTest, SaveWithoutSnapshotWritesOnlyTheComment) {
  saveStore().comment = "a, b";
  ASSERT_TRUE(saveSave(0, false));
  EXPECT_EQ(readFileBytes(game / "save/save000.txt"), std::string(kEscapedMarkerLine) + "Comment=a%2C b\n");
}

TEST_F(SaveTest, PushSaveAppendsOrReplacesWithTheLabelPosition) {
  const std::string key = key32Text(crc64Of("script/0.txt"));
  saveStore().comment = "one";
  pushSave(true, "*first");  // an empty stack is replaced even when appending
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
  EXPECT_NE(saveStore().pushStack.find("File2=" + key + ",0\nComment=one\n"), std::string::npos);
  EXPECT_EQ(backlog().savePushDepth, 0);
  EXPECT_TRUE(saveStore().snapshot.empty());
  pushSave(true, "*second");
  pushSave(true, "*second");
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 3u);
  EXPECT_EQ(backlog().savePushDepth, 2);
  pushSave(false, "*first");
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
  EXPECT_EQ(backlog().savePushDepth, 0);
  reports.clear();
  pushSave(false, "*missing");
  EXPECT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(saveStore().pushStack.find("File2="), std::string::npos);
}

TEST_F(SaveTest, LoadSaveWithOneBlockStacksIt) {
  intVariable("g_v") = 11;
  makeSave();
  ASSERT_TRUE(saveSave(4, true));
  intVariable("g_v") = 0;
  ASSERT_TRUE(loadSave(4, true));
  EXPECT_EQ(intVariable("g_v"), 11);
  const auto blocks = splitSaveStack(saveStore().pushStack);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_NE(blocks[0].find("Integer=g_v=11,"), std::string::npos);
}

TEST_F(SaveTest, LoadSaveWithThreeBlocksRestoresTheLastAndStacksTwo) {
  for (int v = 1; v <= 2; ++v) {
    intVariable("g_v") = v;
    pushSave(true, "*first");
  }
  intVariable("g_v") = 3;
  makeSave();
  ASSERT_TRUE(saveSave(2, true));
  resetAllState();
  SetUp();
  ASSERT_TRUE(loadSave(2, true));
  EXPECT_EQ(intVariable("g_v"), 3);
  const auto blocks = splitSaveStack(saveStore().pushStack);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_NE(blocks[0].find("Integer=g_v=1,"), std::string::npos);
  EXPECT_NE(blocks[1].find("Integer=g_v=2,"), std::string::npos);
}

TEST_F(SaveTest, PopSaveOfTwoBlocksRestoresTheLastAndDropsIt) {
  intVariable("g_v") = 1;
  pushSave(true, "*first");
  intVariable("g_v") = 2;
  pushSave(true, "*second");
  intVariable("g_v") = 3;
  backlog().index = 5;
  ASSERT_TRUE(popSave(-1));
  EXPECT_EQ(intVariable("g_v"), 2);
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
  // The noted depth was 1: the backlog steps back one entry.
  EXPECT_EQ(backlog().savePushDepth, 0);
  // "File" is preferred: the position where pushSave was called (two lines on, as for makeSave).
  EXPECT_EQ(scriptState().cursor.line, 3);
}

TEST_F(SaveTest, PopSaveOfOneBlockResumesAtItsLabelAndKeepsIt) {
  intVariable("g_v") = 1;
  pushSave(true, "*second");
  intVariable("g_v") = 9;
  ASSERT_TRUE(popSave(-1));
  EXPECT_EQ(intVariable("g_v"), 1);
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
  EXPECT_EQ(scriptState().cursor.line, 2);  // the line before "*second"
}

TEST_F(SaveTest, PopSaveOnAnEmptyStackReportsAndChangesNothing) {
  intVariable("g_v") = 4;
  EXPECT_FALSE(popSave(-1));
  EXPECT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(intVariable("g_v"), 4);
}

TEST_F(SaveTest, PopSaveToABacklogEntryFastForwardsToItsLine) {
  intVariable("g_v") = 1;
  pushSave(true, "*first");  // block 0
  intVariable("g_v") = 2;
  pushSave(true, "*second");  // block 1
  BacklogEntry& e = backlog().entries[3];
  e.pushDepth = 0;
  e.originKey = crc64Of("script/0.txt");
  e.originLine = 4;
  backlog().index = 5;
  ASSERT_TRUE(popSave(2));
  EXPECT_EQ(intVariable("g_v"), 1);
  EXPECT_EQ(scriptState().fastForwardMode, 2);
  EXPECT_EQ(scriptState().fastForwardTargetKey, crc64Of("script/0.txt"));
  EXPECT_EQ(scriptState().fastForwardTargetLine, 4);
  EXPECT_EQ(scriptState().pendingSubroutine, 0u);
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
}

TEST_F(SaveTest, ShiftJisTextWithABackquoteTrailSurvivesPushAndPop) {
  const std::string chi = "\x83\x60";
  setEntry(0, chi + "\n" + chi + "`x");
  backlog().index = 1;
  saveStore().comment = chi;
  pushSave(true, "*first");
  pushSave(true, "*first");
  setEntry(0, "changed");
  ASSERT_TRUE(popSave(-1));
  EXPECT_EQ(entryText(0), chi + "\n" + chi + "`x");
  EXPECT_EQ(saveStore().comment, chi);
  EXPECT_EQ(splitSaveStack(saveStore().pushStack).size(), 1u);
}

TEST_F(SaveTest, RangesAreCheckedAndNothingChanges) {
  const struct {
    const char* what;
    bool (*call)();
  } cases[] = {
      {"negative slot save", [] { return saveSave(-1, true); }},
      {"negative slot load", [] { return loadSave(-1, true); }},
      {"backlog index", [] { return popSave(200); }},
      {"below -1", [] { return popSave(-2); }},
      {"protect 100", [] { return setSaveProtect(100, 1); }},
      {"protect -1", [] { return setSaveProtect(-1, 1); }},
  };
  for (const auto& c : cases) {
    reports.clear();
    EXPECT_FALSE(c.call()) << c.what;
    EXPECT_EQ(reports.boxes.size(), 1u) << c.what;
  }
  EXPECT_FALSE(fs::exists(game / "save"));
}

TEST_F(SaveTest, ProtectFlagsSetClearAndToggle) {
  EXPECT_TRUE(setSaveProtect(3, 5));
  EXPECT_EQ(getSaveProtect(3), 1);
  EXPECT_TRUE(setSaveProtect(3, 5));
  EXPECT_EQ(getSaveProtect(3), 0);
  setSaveProtect(99, 1);
  EXPECT_EQ(getSaveProtect(99), 1);
  setSaveProtect(99, 0);
  EXPECT_EQ(getSaveProtect(99), 0);
}

TEST_F(SaveTest, NewestSlotPrefersTheLowerOnATie) {
  for (int slot : {1, 2, 5, 7}) ASSERT_TRUE(saveSave(slot, true));
  const auto stamp = [&](int slot, int seconds) {
    fs::last_write_time(saveSlotPath(slot, true),
                        fs::file_time_type(std::chrono::seconds(1700000000 + seconds)) );
  };
  stamp(1, 10);
  stamp(2, 50);
  stamp(5, 50);
  stamp(7, 20);
  EXPECT_EQ(newestSaveSlot(0, 9, true), 2);
  EXPECT_EQ(newestSaveSlot(3, 9, true), 5);
  EXPECT_EQ(newestSaveSlot(8, 9, true), -1);
  // A range too long to probe slot by slot is read from the folder, with the same answer.
  EXPECT_EQ(newestSaveSlot(0, 2147483647, true), 2);
  EXPECT_EQ(newestSaveSlot(6, 2147483647, true), 7);
  EXPECT_EQ(newestSaveSlot(0, 2147483647, false), -1);
  EXPECT_EQ(saveSlotTime(8, true), 0);
}

bool failBeforeRename(const std::string&, const std::string&) { return false; }

TEST_F(SaveTest, AnInterruptedWriteLeavesThePreviousSaveLoadable) {
  intVariable("g_v") = 1;
  makeSave();
  ASSERT_TRUE(saveSave(0, true));
  clearSave();
  intVariable("g_v") = 2;
  makeSave();
  setReplaceInterruption(&failBeforeRename);
  EXPECT_FALSE(saveSave(0, true));
  setReplaceInterruption(nullptr);
  EXPECT_EQ(reports.boxes.size(), 1u);
  for (const auto& entry : fs::directory_iterator(game / "save"))
    EXPECT_EQ(entry.path().filename(), "save000.dat");  // no temporary file is left
  ASSERT_TRUE(loadSave(0, true));
  EXPECT_EQ(intVariable("g_v"), 1);
}

TEST_F(SaveTest, ASaveOfChangedScriptsIsRefusedAndNothingChanges) {
  intVariable("g_v") = 1;
  makeSave();
  std::string text = saveStore().snapshot;
  const size_t file = text.find("File=");
  text = text.substr(0, file) + "File=ABCDEF,3\n";
  intVariable("g_v") = 2;
  setEntry(0, "kept");
  EXPECT_FALSE(restoreSaveBlock(text, false));
  EXPECT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(intVariable("g_v"), 2);
  EXPECT_EQ(entryText(0), "kept");
  // Key 0 still means script/0.txt.
  EXPECT_TRUE(restoreSaveBlock(text.substr(0, file) + "File=0,3\n", false));
  EXPECT_EQ(scriptState().cursor.line, 3);
  EXPECT_EQ(scriptState().fileJumpRequest, 1);
}

TEST_F(SaveTest, DamagedSlotFilesAreReportedAndChangeNothing) {
  intVariable("g_v") = 1;
  setEntry(1, "page");
  backlog().index = 2;
  makeSave();
  ASSERT_TRUE(saveSave(0, false));
  const std::string good = readFileBytes(game / "save/save000.txt");
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"truncated list", good.substr(0, good.find("msgCounts=") + 40) + "\n"},
      {"bad number", std::string(good).replace(good.find("Massage=") + 8, 5, "6x536")},
      {"backlog index", std::string(good).replace(good.find("msgBuffer1="), 11, "msgBuffer250=")},
      {"sprite number", good + "Image1000=a,b\n"},
      {"missing sprite file", good + "Image5=gone.png,,0:0:0:0:0:0:0:0:0,0,0,0,0,0,0, 0,0,0,0,0,0,0, 0,0,0,0,0,0,0, "
                                     "0,0,0,0,0,0,0,0, 0,255,1,0,0,0,0,0,0,1,1,0,0,0,1,1,0,0,0,0,0, 0\n"},
      {"missing sound", good + "Sound1=gone.ogg,0,100,0,0\n"},
      {"sequence without its sprite", good + "ImageF5=0,0,0,0,0,0\n"},
      {"sequence number", good + "ImageF-3=0,0,0,0,0,0\n"},
      {"quake period too short", good + "ScQ=1, 8,0, 0,0, 0,0, 0,0, 2,0, 0,0, 1,0\n"},
      {"massage range", std::string(good).replace(good.find("Massage="), 8, "Massage=1,1,1,1,1,1,900,")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = c.text;
    std::ofstream(game / "save/save001.txt", std::ios::binary) << file;
    intVariable("g_v") = 42;
    reports.clear();
    EXPECT_FALSE(loadSave(1, false));
    EXPECT_GE(reports.boxes.size(), 1u);
    EXPECT_EQ(intVariable("g_v"), 42);
    EXPECT_EQ(entryText(1), "page");
  }
  // A file that is not a container at all.
  std::ofstream(game / "save/save002.dat", std::ios::binary) << "\x05\x00\x00\x00garbage";
  reports.clear();
  EXPECT_FALSE(loadSave(2, true));
  EXPECT_EQ(reports.boxes.size(), 1u);
}

TEST_F(SaveTest, LoadSaveTextReadsTheWholeComment) {
  saveStore().comment = "chapter 1, \"start\"";
  ASSERT_TRUE(saveSave(6, true));
  saveStore().comment.clear();
  ASSERT_TRUE(loadSave(6, true));
  EXPECT_EQ(saveStore().comment, "chapter 1, \"start\"");
}

// A sound line with the delay still to wait and the fade-in queues the start again for that long;
// a line without them starts at once; damaged delay pieces stop the load.
TEST_F(SaveTest, SoundLinesKeepTheDelayStillToWait) {
  std::ofstream(game / "m.wav", std::ios::binary) << "RIFF";
  setTickSource(&fakeClock);
  fakeNow = 1000;
  struct Case {
    const char* line;
    bool restores;
  };
  const Case cases[] = {
      {"Sound3=m.wav,0,80,5,0,4000,100", true},
      {"Sound3=m.wav,0,80,5,0,4000", false},
      {"Sound3=m.wav,0,80,5,0,-3,0", false},
      {"Sound3=m.wav,0,80,5,0,4000,100,7", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    clearDelayedSounds();
    reports.clear();
    EXPECT_EQ(restoreSaveBlock(std::string(kEscapedMarkerLine) + c.line + "\n", false), c.restores);
    EXPECT_EQ(reports.boxes.size(), c.restores ? 0u : 1u);
    PendingSoundStart start;
    const bool pending = pendingSoundStart(3, start);
    EXPECT_EQ(pending, c.restores);
    if (!pending) continue;
    EXPECT_EQ(start.name, "m.wav");
    EXPECT_EQ(start.due, 5000u);
    EXPECT_EQ(start.fadeIn, 100);
    EXPECT_EQ(start.volume, 80);
    EXPECT_EQ(start.pan, 5);
    // Saved again 1500 ms later: 2500 ms are left.
    fakeNow = 2500;
    const std::string block = composeSaveBlock();
    EXPECT_NE(block.find("\nSound3=m.wav,0,80,5,0,2500,100\n"), std::string::npos) << block;
  }
  clearDelayedSounds();
  setTickSource(nullptr);
}

}  // namespace
}  // namespace vellum::test
