// Laying out story lines: positions of the placed characters, rows, indents, waits, ruby and the
// backlog bytes.
#include <string>

#include "base/text_encoding.h"
#include "script/expression.h"
#include "shell/display/screen_geometry.h"
#include "message_fixture.h"

namespace vellum::test {
namespace {

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

constexpr int kPitch = 24, kRowPitch = 32;  // font 24 + spacing 0; line 24 + ruby gap 8

TEST_F(MessageTest, ARowHoldsColumnsPlusOneCharacters) {
  createWindow();
  layoutWhole(repeat("字", 22));
  ASSERT_EQ(text().count, 22);
  EXPECT_EQ(text().pX[20], 40 * kPitch / 2);
  EXPECT_EQ(text().pY[20], 0);
  EXPECT_EQ(text().pX[21], 0);
  EXPECT_EQ(text().pY[21], kRowPitch);
}

TEST_F(MessageTest, HangingPunctuationOverhangsTheRow) {
  struct Case {
    const char* tail;
    int lastX, lastY;
  };
  for (const Case& c : {Case{"。", 42 * kPitch / 2, 0}, Case{"。」", kPitch, kRowPitch}}) {
    SCOPED_TRACE(c.tail);
    createWindow();
    layoutWhole(repeat("字", 21) + c.tail);
    EXPECT_EQ(text().pX[21], c.tail == std::string("。") ? 42 * kPitch / 2 : 0);
    EXPECT_EQ(text().pX[text().count - 1], c.lastX);
    EXPECT_EQ(text().pY[text().count - 1], c.lastY);
    restart();
  }
}

TEST_F(MessageTest, IndentsShapeWrappedRowsAndTheBacklog) {
  createWindow("setMessIndent 1, 0\n");
  layoutWhole("「" + repeat("字", 24));
  EXPECT_EQ(text().pX[0], 0);
  EXPECT_EQ(text().pX[21], 2 * kPitch / 2);  // the second row starts under the text after the quote
  EXPECT_EQ(text().pY[21], kRowPitch);
  EXPECT_EQ(logText(), gbk("「" + repeat("字", 20) + "\x0c　" + repeat("字", 4) + "\x0c　"));

  restart();
  createWindow("setMessIndent 0, 1\n");
  layoutWhole(repeat("字", 22));
  EXPECT_EQ(text().pX[0], 2 * kPitch / 2);
  EXPECT_EQ(text().pX[20], 2 * kPitch / 2);
  EXPECT_EQ(text().pY[20], kRowPitch);
  EXPECT_EQ(logText(), gbk("　" + repeat("字", 20) + "\x0c　" + repeat("字", 2) + "\x0c　"));
}

TEST_F(MessageTest, LineEndWaitsFollowTheBlankLineRules) {
  struct Case {
    int lineEnd, blank, next, after, kind;
  };
  const Case cases[] = {
      {0, 1, 0, 5, 1},  // followed by a blank line: wait
      {0, 1, 5, 5, 0},  // followed by text: no wait
      {0, 4, 0, 5, 1},  // one blank line
      {0, 4, 0, 0, 2},  // two blank lines: new page
      {2, 0, 5, 5, 2},  // every line waits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lineEnd) + "," + std::to_string(c.blank) + " next " + std::to_string(c.next));
    createWindow("setMessLine " + std::to_string(c.lineEnd) + ", " + std::to_string(c.blank) + "\n");
    scriptState().postMessageSub = 1;
    EXPECT_EQ(layout("文字", c.next, c.after), 1);
    EXPECT_EQ(waited(), c.kind);
    EXPECT_EQ(scriptState().textOffset, 0);
    restart();
  }
}

TEST_F(MessageTest, AnAtSignWaitsAndTheLineResumesAfterIt) {
  createWindow();
  scriptState().postMessageSub = 1;
  EXPECT_EQ(layout("甲乙@丙丁"), 1);
  EXPECT_EQ(waited(), 1);
  EXPECT_EQ(scriptState().textOffset, 5);
  EXPECT_EQ(text().count, 2);
  EXPECT_EQ(layout("甲乙@丙丁"), 1);
  EXPECT_EQ(text().count, 4);
  EXPECT_EQ(text().pX[2], 2 * kPitch);  // on the same row, after the first part
  EXPECT_EQ(scriptState().textOffset, 0);
  EXPECT_EQ(logText(), gbk("甲乙丙丁\x0c"));
}

TEST_F(MessageTest, ABackslashWaitsForANewPage) {
  createWindow();
  scriptState().postMessageSub = 1;
  layout("甲\\乙");
  EXPECT_EQ(waited(), 2);
  EXPECT_EQ(scriptState().textOffset, 3);
}

TEST_F(MessageTest, RubyIsSpreadOverItsBase) {
  struct Case {
    const char* line;
    std::vector<int> xs;
    std::vector<int> anchors;
  };
  const Case cases[] = {
      {"{漢字/かんじ}", {3, 18, 33}, {0, 0, 1}},  // gap (48 - 36) / 4
      {"{漢字/かん}", {6, 30}, {0, 1}},           // base twice the ruby: half-pitch gaps
      {"{漢/かんじ}", {-6, 6, 18}, {0, 0, 0}},     // ruby wider than its base: centred
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    createWindow();
    layoutWhole(c.line);
    const CString& ruby = rubyText();
    ASSERT_EQ(ruby.count, static_cast<int>(c.xs.size()));
    for (size_t i = 0; i < c.xs.size(); ++i) {
      EXPECT_EQ(ruby.pX[i], c.xs[i]) << i;
      EXPECT_EQ(ruby.pY[i], -4);  // half the ruby gap above the row
      EXPECT_EQ(ruby.anchors[i], c.anchors[i]) << i;
    }
    EXPECT_EQ(logText(), gbk(std::string(c.line) + "\x0c"));  // kept in its source form
    restart();
  }
}

TEST_F(MessageTest, TrailBytesThatLookLikeMarkupAreCharacters) {
  createWindow();
  // In GBK 乗 ends in '\\', 丂 in '@', 乚 in ']' and 亇 in '}'.
  layoutWhole("{乗亇/じ乚}[i 8]丂乚亇");
  EXPECT_EQ(rubyText().count, 2);
  EXPECT_EQ(text().count, 5);
  EXPECT_EQ(text().pX[2], 8 * 24 / 2);
  EXPECT_EQ(waited(), 0);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(MessageTest, BrokenRubyIsReportedAndDropped) {
  createWindow();
  layoutWhole("{漢字/かんじ");
  EXPECT_EQ(rubyText().count, 0);
  EXPECT_EQ(text().count, 2);
  EXPECT_TRUE(reports.anyBoxContains(gbk("注音的处理不正确")));
}

TEST_F(MessageTest, InlineCommandsRunWhereTheyStand) {
  createWindow();
  layoutWhole("甲[n]乙[i 10]丙");
  EXPECT_EQ(text().pY[1], kRowPitch);
  EXPECT_EQ(text().pX[1], 0);
  EXPECT_EQ(text().pX[2], 10 * kPitch / 2);
  EXPECT_EQ(logText(), gbk("甲\x0c乙丙\x0c"));
}

TEST_F(MessageTest, BadMarkupIsReportedAndLayoutGoesOn) {
  createWindow();
  layoutWhole("甲[nosuchcommand 1]乙");
  EXPECT_EQ(text().count, 2);
  EXPECT_TRUE(reports.anyBoxContains(gbk("这是未对应的命令")));
  reports.clear();
  layoutWhole("丙[n");  // unclosed: reported, the rest is dropped
  EXPECT_EQ(text().count, 3);
  EXPECT_FALSE(reports.boxes.empty());
  layoutWhole("[n][n]");  // only markup
  EXPECT_EQ(text().count, 3);
}

TEST_F(MessageTest, WrappingAlwaysMakesProgress) {
  createWindow("setMessWH 0, 3, 24, 0, 0, 24\nsetMessIndent 0, 1\n");
  layoutWhole(repeat("字", 5));
  ASSERT_EQ(text().count, 5);
  EXPECT_EQ(text().pY[0], 24);  // the indent alone fills the first row
  EXPECT_EQ(text().pY[4], 5 * 24);  // then one character a row
}

TEST_F(MessageTest, CharactersBeyondTheCapacityAreRefused) {
  createWindow("", 5);
  layoutWhole(repeat("字", 3000));  // a very long line
  EXPECT_EQ(text().count, 5);
  EXPECT_EQ(logText().size(), sizeof(BacklogEntry::text) - 1);
  EXPECT_EQ(toUtf8(logText(), CodePage::Gbk).find("\xEF\xBF\xBD"), std::string::npos);  // no cut character
}

TEST_F(MessageTest, FullWidthSpacesPlaceNothingAndStopsAddPausePoints) {
  createWindow();
  layoutWhole("　　　");
  EXPECT_EQ(text().count, 0);
  settings().pointWait = 4;
  layoutWhole("甲、乙");
  EXPECT_EQ(std::vector<int>(text().pausePoints.begin(), text().pausePoints.end()), (std::vector<int>{2, 2, 2, 2}));
  text().ReSetChar();  // redrawing does not add them again
  EXPECT_EQ(text().pausePoints.size(), 4u);
}

TEST_F(MessageTest, LastPositionIsAfterTheLastCharacter) {
  createWindow();
  EXPECT_EQ(text().LastPosition(), (std::array<int, 2>{0, 0}));
  layoutWhole("甲乙[n]丙");
  EXPECT_EQ(text().LastPosition(), (std::array<int, 2>{24, kRowPitch}));
}

TEST_F(MessageTest, LastPositionIsInGamePixelsAtAnyScale) {
  screenGeometry().scale = 2.0f;
  createWindow();
  EXPECT_EQ(text().size, 48);  // the glyphs are drawn at the render size
  layoutWhole("甲乙");
  EXPECT_EQ(text().LastPosition(), (std::array<int, 2>{24 + 24, 0}));
  EXPECT_EQ(text().quad(1)[0].x, 2.0f * 24 - 0.5f - 1);  // positions scale; the outline margin does not
}

TEST_F(MessageTest, GetTagGivesTheSpeaker) {
  createWindow();
  script("【Aya】早上好。\nstring name\ngetTag $name\n");
  ASSERT_NE(findStringVariable("$name"), nullptr);
  EXPECT_EQ(*findStringVariable("$name"), "Aya");
}

TEST_F(MessageTest, HeadlessRunsPrintEachShownLine) {
  createWindow();
  shown.clear();
  engine().headless = true;
  script("【艾琳】{早上/はや}好[n]啊@。\n第二行\n\n下一条\n");
  EXPECT_EQ(shown, (std::vector<std::string>{"【艾琳】早上好啊。", "第二行", "下一条"}));
}

TEST_F(MessageTest, FastForwardPlacesAndPrintsNothing) {
  createWindow();
  scriptState().fastForwardMode = 1;
  engine().headless = true;
  ::testing::internal::CaptureStdout();
  layoutWhole("甲乙");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(text().count, 0);
}

TEST_F(MessageTest, ClearMessCommitsTheEntryAndEmptiesThePage) {
  createWindow();
  layoutWhole("甲乙");
  const int before = backlog().index;
  script("clearMess 0\n");
  EXPECT_EQ(backlog().index, before + 1);
  EXPECT_EQ(text().count, 0);
  EXPECT_EQ(logText(), "");
  EXPECT_EQ(messageWindow().row, 0);
}

}  // namespace
}  // namespace vellum::test
