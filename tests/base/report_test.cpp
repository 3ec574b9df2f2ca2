#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "base/engine_state.h"
#include "base/box_placement.h"
#include "base/report.h"
#include "platform/message_box.h"
#include "script/script_state.h"
#include "storage/hashes.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

class Reports : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    ScriptState& s = scriptState();
    s.slots[0].displayName = "script/0.txt";
    s.slots[1].displayName = "script/1.txt";
    s.fileNames[crc64Of("script/0.txt")] = ulltos32(crc64Of("script/0.txt"));
    s.fileNames[crc64Of("script/9.txt")] = ulltos32(crc64Of("script/9.txt"));
    setCurrentCommandName("goto");
  }
  void pushCaller(const char* path, int resumeLine) {
    ScriptState& s = scriptState();
    s.callFrames.push_back(CallFrame{resumeLine, 0, 0});
    s.callerKeys.push_back(crc64Of(path));
  }
};

TEST_F(Reports, NativeContextAtTopLevelIsTwoLines) {
  scriptState().cursor.line = 4;
  errorc(ReportText().ascii("bad thing"), true);
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "bad thing\r\nscript/0.txt[5] goto");
}

TEST_F(Reports, NativeContextListsCallersOldestFirst) {
  pushCaller("script/0.txt", 11);
  pushCaller("script/9.txt", 2);
  scriptState().cursor.slot = 1;
  scriptState().cursor.line = 39;
  errorc(ReportText().ascii("oops"), true);
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "oops\r\n" + ulltos32(crc64Of("script/0.txt")) + "[12]\r\n" +
                                  ulltos32(crc64Of("script/9.txt")) + "[3]\r\nscript/1.txt[40] goto");
}

TEST_F(Reports, UserCommandNameLeadsTheMessage) {
  const std::string name = "myCmd";
  scriptState().currentUserCommand = &name;
  errorc(ReportText().ascii("x"), true);
  EXPECT_EQ(reports.shownBoxes.at(0).rfind("myCmd x\r\n", 0), 0u);
}

TEST_F(Reports, WithoutBoxTheTextGoesToOutputAndNotTheLog) {
  errorc(ReportText().ascii("quiet"), false);
  errord(ReportText().ascii("plain"), false);
  EXPECT_TRUE(reports.shownBoxes.empty());
  ASSERT_EQ(reports.shownLines.size(), 2u);
  EXPECT_EQ(reports.shownLines[0], "quiet\r\nscript/0.txt[1] goto");
  EXPECT_EQ(reports.shownLines[1], "plain");
  EXPECT_FALSE(std::filesystem::exists(game.path() / "Information.txt"));
}

TEST_F(Reports, ErrorBoxAppendsTheEngineBytesToTheLog) {
  // " ※ラベル名が不正です" in Shift-JIS, next to GBK script text: the log keeps both as bytes.
  const std::string sjis = "\x81\xa6\x83\x89\x83\x78\x83\x8b";
  errord(ReportText().gbk("\xc4\xe3").sjis(sjis), true);
  errord(ReportText().ascii("second"), true);
  EXPECT_EQ(test::readFileBytes(game.path() / "Information.txt"), "\xc4\xe3" + sjis + "\nsecond\n");
  ASSERT_EQ(reports.shownBoxes.size(), 2u);
  EXPECT_EQ(reports.shownBoxes[0], "你※ラベル");
}

TEST_F(Reports, LogGoesToTheUserDataFolderWhenSet) {
  test::TempFolder userData;
  engine().userDataDirectory = userData.withSlash();
  errord(ReportText().ascii("here"), true);
  EXPECT_EQ(test::readFileBytes(userData.path() / "Information.txt"), "here\n");
}

TEST_F(Reports, PluginExportsTakeGameText) {
  ::errord("\xc4\xe3", 1);
  ::errorc("ctx", 0);
  EXPECT_EQ(reports.shownBoxes.at(0), "你");
  EXPECT_EQ(reports.shownLines.at(0), "ctx\r\nscript/0.txt[1] goto");
}

TEST(MessageBox, TerminalTextIsOneLine) {
  EXPECT_EQ(asOneLine("a\r\nb\nc\rd"), "a | b | c | d");
  EXPECT_EQ(asOneLine("single"), "single");
}

}  // namespace
}  // namespace vellum

namespace vellum {
namespace {

TEST(BoxPlacement, CentredOnlyOverWindowsLargerThan320x240) {
  const BoxRect box{10, 20, 200, 100};
  const BoxRect small = placeBox(BoxRect{0, 0, 320, 240}, box);
  EXPECT_EQ(small.left, 10);
  EXPECT_EQ(small.top, 20);
  const BoxRect centred = placeBox(BoxRect{100, 50, 800, 600}, box);
  EXPECT_EQ(centred.left, 100 + 300);
  EXPECT_EQ(centred.top, 50 + 250);
  EXPECT_EQ(centred.width, 200);
  // Truncating toward zero when the box is larger than the window.
  const BoxRect wide = placeBox(BoxRect{0, 0, 321, 241}, BoxRect{0, 0, 400, 300});
  EXPECT_EQ(wide.left, -39);
  EXPECT_EQ(wide.top, -29);
}

}  // namespace
}  // namespace vellum
