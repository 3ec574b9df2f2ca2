#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/command_registry.h"
#include "base/engine_state.h"
#include "script/control_flow.h"
#include "script/script_state.h"
#include "storage/hashes.h"
#include "support/engine_fixture.h"
#include "script/read_mode.h"

namespace vellum {
namespace {

// Every test command appends "name(arguments)" here.
std::vector<std::string> calls;

void record(const char* name, const char* arguments, int length) {
  calls.push_back(std::string(name) + "(" + std::string(arguments, static_cast<size_t>(length)) + ")");
}

// Resumes at the newest call frame, as a plain return does.
void returnToCaller() {
  ScriptState& s = scriptState();
  const CallFrame frame = s.callFrames.back();
  const uint64_t caller = s.callerKeys.back();
  s.callFrames.pop_back();
  s.callerKeys.pop_back();
  s.cursor.line = frame.resumeLine;
  s.cursor.token = frame.resumeToken;
  s.cursor.jumpFlag = 1;
  switchToFile(caller);
}

class Interpreter : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    calls.clear();
    registerCommand("a", [](const char* t, int n) { record("a", t, n); });
    registerCommand("b", [](const char* t, int n) { record("b", t, n); });
    registerCommand("quit", [](const char* t, int n) {
      record("quit", t, n);
      engine().quitFlag = 1;
    });
    // Jumps to the label named by its argument, as goto does.
    registerCommand("jump", [](const char* t, int n) {
      record("jump", t, n);
      jumpTo(std::string(t + 1, static_cast<size_t>(n - 1)));
    });
    registerCommand("call", [](const char* t, int n) {
      record("call", t, n);
      callLabel(crc32Of(std::string(t + 2, static_cast<size_t>(n - 2))));
    });
    registerCommand("ret", [](const char* t, int n) {
      record("ret", t, n);
      returnToCaller();
    });
  }
  void runScript(const std::string& text) {
    ASSERT_TRUE(addScript("script/0.txt", test::gbk(text), 0));
    run();
  }
};

TEST_F(Interpreter, RunsCommandsInOrderAcrossPairsAndLines) {
  runScript("a 1 : b 2\nb\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"a( 1)", "b( 2)", "b()"}));
}

TEST_F(Interpreter, UnknownCommandIsReportedWithContextAndTheLineGoesOn) {
  runScript("a 1\nfoo9 x : b 2\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"a( 1)", "b( 2)"}));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "这是未对应的命令\r\nscript/0.txt[2] foo9");
}

TEST_F(Interpreter, QuitFlagStopsAfterTheNativeCommand) {
  runScript("a\nquit : b\nb\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"a()", "quit()"}));
}

TEST_F(Interpreter, JumpSkipsTheRestOfTheLine) {
  runScript("jump *there : a\nb\n*there\nb 3\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"jump( *there)", "b( 3)"}));
}

TEST_F(Interpreter, SubroutineResumesAtTheNextPairOrLine) {
  runScript("call *sub : a 1\ncall *sub\nb end\nquit\n*sub\nb in\nret\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"call( *sub)", "b( in)", "ret()", "a( 1)", "call( *sub)", "b( in)",
                                             "ret()", "b( end)", "quit()"}));
}

TEST_F(Interpreter, LastLineEndsTheProgramWithoutReturningToTheCaller) {
  ASSERT_TRUE(addScript("script/0.txt", "call *elsewhere\na back\n", 0));
  ASSERT_TRUE(addScript("script/1.txt", "*elsewhere\nb there\n", 1));
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"call( *elsewhere)", "b( there)"}));
  EXPECT_EQ(scriptState().cursor.slot, 1);
}

TEST_F(Interpreter, StoryTextGoesToThePresenterAndMarksTheMessageRead) {
  runScript("a\n你好。\n\n【Aya】早上好。\n");
  EXPECT_EQ(shown, (std::vector<std::string>{"你好。", "【Aya】早上好。"}));
  const ReadFlagTable& flags = scriptState().readFlags[crc64Of("script/0.txt")];
  EXPECT_EQ(flags.at(1), 1);
  EXPECT_EQ(flags.at(3), 1);
  EXPECT_TRUE(reports.shownBoxes.empty());
}

TEST_F(Interpreter, LinesOfOneMessageAreShownWithoutReadFlagReports) {
  runScript("第一行\n第二行\n第三行\n\n下一条\n");
  EXPECT_EQ(shown, (std::vector<std::string>{"第一行", "第二行", "第三行", "下一条"}));
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
}

TEST_F(Interpreter, NameOnlyLineNamesTheFollowingLine) {
  runScript("【Aya】\n她挥手。\n\nb\n");
  EXPECT_EQ(shown, (std::vector<std::string>{"【Aya】她挥手。"}));
  EXPECT_EQ(calls, (std::vector<std::string>{"b()"}));
  EXPECT_TRUE(reports.shownBoxes.empty());
}

TEST_F(Interpreter, PreMessageSubroutineRunsBeforeEachMessage) {
  ASSERT_TRUE(addScript("script/0.txt", test::gbk("你好。\n\n世界。\n\nquit\n*pre\na pre\nret\n"), 0));
  scriptState().preMessageSub = crc32Of("pre");
  run();
  EXPECT_EQ(shown, (std::vector<std::string>{"你好。", "世界。"}));
  EXPECT_EQ(calls, (std::vector<std::string>{"a( pre)", "ret()", "a( pre)", "ret()", "quit()"}));
}

TEST_F(Interpreter, TextLineWithoutReadFlagIsReportedAndStillShown) {
  ASSERT_TRUE(addScript("script/0.txt", test::gbk("你好。\n"), 0));
  scriptState().readFlags[crc64Of("script/0.txt")].clear();
  run();
  EXPECT_EQ(shown, (std::vector<std::string>{"你好。"}));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "已读检查错误 0/0");
}

TEST_F(Interpreter, ReadTextStartsAutoSkipAndUnreadTextStopsSkipping) {
  ASSERT_TRUE(addScript("script/0.txt", test::gbk("看过。\n\n新的。\n"), 0));
  scriptState().readFlags[crc64Of("script/0.txt")][0] = 1;
  readMode().alreadyReadAutoSkip = 2;
  run();
  // The read message starts skipping (3); the unread one stops it again (33).
  EXPECT_FALSE(readMode().skipActive);
  EXPECT_EQ(readMode().pendingModeEvent, 33);
  EXPECT_EQ(readMode().alreadyReadAutoSkip, 1);
}

TEST_F(Interpreter, UserCommandCallsItsLabelWithParameters) {
  ASSERT_TRUE(addScript("script/0.txt", "defsub greet\ngreet  x, y\nb after\nquit\n*greet\nret\n", 0));
  registerCommand("defsub", [](const char*, int) {});
  registerCommand("ret", [](const char* t, int n) {
    record("ret", t, n);
    calls.push_back("params:" + scriptState().userCommandParameters);
    returnToCaller();
  });
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"ret()", "params:  x, y", "b( after)", "quit()"}));
}

TEST_F(Interpreter, ForSkipModeSkipsToTheMatchingNext) {
  registerCommand("next", [](const char* t, int n) {
    record("next", t, n);
    scriptState().forSkipMode = 0;
  });
  registerCommand("for", [](const char* t, int n) { record("for", t, n); });
  ASSERT_TRUE(addScript("script/0.txt", "a\nfor inner\nb skipped\nnext\nb skipped too\nnext\nb after\n", 0));
  scriptState().forSkipMode = 1;
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"next()", "b( after)"}));
}

}  // namespace
}  // namespace vellum
