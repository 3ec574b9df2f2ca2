// The proportional layout of Latin text: rows broken at spaces, each glyph at its own advance,
// ruby, the backlog and saves in it, and the fixed layout while it is off.
#include <string>

#include "base/text_encoding.h"
#include "persist/save_text.h"
#include "script/expression.h"
#include "text/message_save_lines.h"
#include "message_fixture.h"

namespace vellum::test {
namespace {

// The monospaced face of the default family: every Latin glyph of 24-pixel text is 14 pixels wide
// and every Chinese one 24, so the rows below can be read off by counting: a 7-column row (168
// pixels) holds 12 letters.
constexpr const char* kEvenFace = "WenQuanYi Micro Hei Mono";

class ProportionalLayout : public MessageTest {
 protected:
  void latinWindow(const std::string& face, const std::string& extra = "") {
    script("setFontFile \"" + face + "\", \"\"\nsetMessCreate 400, 100\nsetMessWH 7, 3, 24, 8, 0, 24\n"
           "setMessProportional 1\n" + extra);
    ASSERT_TRUE(text().hasFace()) << face << " is not installed";
  }
  // The placed characters row by row (UTF-8), rows joined by '|'.
  static std::string placedRows() {
    std::string gbkRows;
    for (int i = 0; i < text().count; ++i) {
      const auto k = static_cast<size_t>(i);
      if (i > 0 && text().pY[k] != text().pY[k - 1]) gbkRows += '|';
      if (text().pCode[k] > 0xFF) gbkRows += static_cast<char>(text().pCode[k] >> 8);
      gbkRows += static_cast<char>(text().pCode[k] & 0xFF);
    }
    return toUtf8(gbkRows, CodePage::Gbk);
  }
};

TEST_F(ProportionalLayout, RowsBreakAtSpaces) {
  struct Case {
    const char* what;
    const char* extra;
    const char* line;
    const char* rows;
  };
  const Case cases[] = {
      {"words that fit share a row", "", "aaaaa bbbbbb", "aaaaa bbbbbb"},
      {"a word that fills the row exactly stays on it", "", "aaaaaa bbbbb", "aaaaaa bbbbb"},
      {"a word that does not fit moves whole to the next row", "", "aaaaa bbbbbbb", "aaaaa |bbbbbbb"},
      {"the space before a moved word stays behind", "", "aaaaa bbbbbb cc", "aaaaa bbbbbb |cc"},
      {"only a word longer than a row breaks inside", "", "x aaaaaaaaaaaaaa", "x |aaaaaaaaaaaa|aa"},
      {"spaces at the start of a line take no room", "", "  aaaa", "aaaa"},
      {"spaces after a row break take no room", "", "aaaa[n]  bbbb", "aaaa|bbbb"},
      {"ruby text takes no room in its word", "", "aaaaa bb{bbbb/rubyrubyruby}", "aaaaa bbbbbb"},
      {"a wait inside a word takes no room", "", "aaaaa bbb@bbb", "aaaaa bbbbbb"},
      {"double-byte characters break anywhere", "", "aaaa 字字字字字", "aaaa 字字字字|字"},
      {"wrapped rows keep the paragraph indent", "setMessIndent 0, 1\n", "aaaa bbbb cccc", "aaaa bbbb |cccc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    latinWindow(kEvenFace, c.extra);
    layoutWhole(c.line);
    EXPECT_EQ(placedRows(), c.rows);
    restart();
  }
}

TEST_F(ProportionalLayout, TheBacklogKeepsTheRowsAndDropsLeadingSpaces) {
  latinWindow(kEvenFace);
  layoutWhole(" aaaaa bbbbbbb");
  EXPECT_EQ(logText(), "aaaaa \x0c" "bbbbbbb\x0c");
}

TEST_F(ProportionalLayout, EachGlyphTakesItsOwnAdvance) {
  latinWindow("黑体");  // the default sans-serif face
  layoutWhole("Wi Wi");
  ASSERT_EQ(text().count, 5);
  const int w = text().advance('W'), i = text().advance('i');
  EXPECT_GT(w, 12);  // wider than the fixed layout's half cell
  EXPECT_LT(i, 12);
  EXPECT_EQ(text().pX[1], w);
  EXPECT_EQ(text().pX[3], w + i + text().advance(' '));
  // The click-wait mark goes right after the last glyph.
  script("getMessLast %0, %1\n");
  const int32_t* lastX = findIntVariable("%0");
  ASSERT_NE(lastX, nullptr);
  EXPECT_EQ(*lastX, text().pX[4] + i);
}

TEST_F(ProportionalLayout, LetterSpacingIsAddedToEveryGlyph) {
  latinWindow(kEvenFace, "setMessWH 7, 3, 24, 8, 4, 24\n");
  layoutWhole("ab字c");
  EXPECT_EQ(text().pX[1], 14 + 4);
  EXPECT_EQ(text().pX[2], 2 * 18);
  EXPECT_EQ(text().pX[3], 2 * 18 + 24 + 4);
}

TEST_F(ProportionalLayout, RubyIsSpreadOverItsBaseByItsOwnAdvances) {
  latinWindow(kEvenFace);
  layoutWhole("{abcd/xy}");
  // Base 56 pixels, ruby 2 x 7: the 42 pixels left are shared by the three gaps.
  ASSERT_EQ(rubyText().count, 2);
  EXPECT_EQ(rubyText().pX[0], 14);
  EXPECT_EQ(rubyText().pX[1], 14 + 7 + 14);
}

TEST_F(ProportionalLayout, OffByDefaultAndWhenTurnedOff) {
  for (const char* extra : {"", "setMessProportional 1\nsetMessProportional 0\n"}) {
    SCOPED_TRACE(extra);
    createWindow(extra);
    layoutWhole("Wi Wi");
    for (int k = 0; k < 5; ++k) EXPECT_EQ(text().pX[static_cast<size_t>(k)], k * 12);
    restart();
  }
}

TEST_F(ProportionalLayout, ASaveKeepsTheLayout) {
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on);
    createWindow(on ? "setMessProportional 1\n" : "");
    std::string lines;
    writeMessageSaveLines(lines);
    EXPECT_EQ(lines.find("Proportional=") != std::string::npos, on);
    messageWindow().proportional = !on;
    MessageSaveRecord record;
    ASSERT_TRUE(readMessageSaveLines(parseSaveBlock(lines), record));
    applyMessageSaveLines(record);
    EXPECT_EQ(messageWindow().proportional, on);
    restart();
  }
}

}  // namespace
}  // namespace vellum::test
