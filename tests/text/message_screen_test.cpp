// What the player sees of the text: a page in the installed CJK font drawn by the real renderer
// over a background, text sprites, and the reports for fonts that cannot be used.
#include <algorithm>
#include <fstream>

#include "render/renderer_state.h"
#include "script/script_state.h"
#include "scene/sprite_fixture.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace vellum::test {
namespace {

constexpr uint32_t kBackground = 0xFF2040A0;

class MessageScreen : public SpriteScreenTest {
 protected:
  void page(const std::string& extra, const std::string& utf8Line) {
    writePicture("bg.png", kGameW, kGameH, kBackground);
    script(gbk("sp 1, \"bg.png\", 0, 0\nsp_cxy 1, 0, 0\nsetMessCreate 100, 50\nsetMessXY 16, 150\n"
               "setMessWH 10, 3, 24, 0, 0, 28\n" + extra + utf8Line + "\nendMessDraw\ndraw\n"));
  }
};

TEST_F(MessageScreen, APageStaysInsideItsCellsInTheFontColours) {
  page("", "早上好，世界。あいうえお漢字");
  const CString& t = mainText();
  ASSERT_TRUE(t.hasFace()) << "no CJK face installed";
  ASSERT_EQ(t.count, 14);
  const Screen s = capture();
  ASSERT_GT(s.w, 0);
  int body = 0, edge = 0, outside = 0;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      const uint32_t c = s.at(x, y);
      if (c == (kBackground & 0xFFFFFF)) continue;
      bool inCell = false;
      for (int i = 0; i < t.count && !inCell; ++i) {
        const auto& q = t.quad(i);
        inCell = x >= q[0].x && x < q[3].x && y >= q[0].y && y < q[3].y;
      }
      if (!inCell) ++outside;
      if (c == 0xFFFFFF) ++body;
      if (c == 0x000000) ++edge;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(body, 14 * 20);  // white bodies
  EXPECT_GT(edge, 14 * 20);  // black outlines and shadows
  // The block: rows 150-178 and 16 + 14 characters, one 11-character row and a wrapped one.
  EXPECT_EQ(t.pY[11], 28);
  for (int i = 0; i < t.count; ++i) {
    EXPECT_GE(t.quad(i)[0].x, 16 - 2);
    EXPECT_LE(t.quad(i)[3].x, 16 + 11 * 24 + 32);
  }
}

// The columns a glyph inks, from its pen: {first, last}, or {1, 0} for none.
std::pair<int, int> inkColumns(const CString& t, uint16_t code) {
  const int side = 2 * t.cell, pen = t.cell / 2;
  std::vector<uint32_t> pixels(static_cast<size_t>(side) * static_cast<size_t>(side), 0);
  t.rasterise({reinterpret_cast<uint8_t*>(pixels.data()), side * 4, side, side, false}, pen, 0, code);
  int first = side, last = -1;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      if (pixels[static_cast<size_t>(y * side + x)] >> 24) first = std::min(first, x), last = std::max(last, x);
  return last < 0 ? std::pair{1, 0} : std::pair{first - pen, last - pen};
}

TEST_F(MessageScreen, EnglishTextInBothLayouts) {
  // A story line must not begin with an ASCII letter (it would be a command): this one opens a quote.
  const std::string story = "\"We waved when the ferry moved away,\" said Mimi, and wept.";
  struct Case {
    const char* extra;
    bool proportional;
  };
  for (const Case& c : {Case{"", false}, Case{"setMessProportional 1\n", true}}) {
    SCOPED_TRACE(c.extra);
    page(std::string("setFontStyle 16, -1\nformatMess\n") + c.extra, story);
    const CString& t = mainText();
    ASSERT_TRUE(t.hasFace()) << "no CJK face installed";
    ASSERT_EQ(t.count, static_cast<int>(story.size()));
    // How far the ink of neighbouring glyphs on a row runs into each other, at most.
    int overlap = 0, brokenWords = 0, rightmost = 0;
    for (int i = 1; i < t.count; ++i) {
      const auto k = static_cast<size_t>(i);
      if (t.pY[k] != t.pY[k - 1]) {
        brokenWords += t.pCode[k - 1] != ' ';
        continue;
      }
      const auto before = inkColumns(t, t.pCode[k - 1]), after = inkColumns(t, t.pCode[k]);
      if (before.first > before.second || after.first > after.second) continue;
      overlap = std::max(overlap, t.pX[k - 1] + before.second + 1 - (t.pX[k] + after.first));
      rightmost = std::max(rightmost, t.pX[k] + after.second);
    }
    const Screen s = capture();
    int outside = 0;
    for (int y = 0; y < s.h; ++y)
      for (int x = 0; x < s.w; ++x)
        outside += s.at(x, y) != (kBackground & 0xFFFFFF) && (y < 150 || y >= 150 + 3 * 28 || x < 16);
    EXPECT_EQ(outside, 0);
    if (c.proportional) {
      EXPECT_LE(overlap, 1);  // at most the anti-aliased pixel where two letters meet
      EXPECT_EQ(brokenWords, 0);
      EXPECT_LT(rightmost, 10 * 24);  // inside the row: ten cells
    } else {
      // The fixed layout gives every letter half a cell: wide letters run into their neighbours.
      EXPECT_GT(overlap, 3);
      EXPECT_GT(brokenWords, 0);
    }
  }
}

class MessageScreen16 : public MessageScreen {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    settings().vSyncWait = 0;
    settings().colorMode = 1;
    setUpScreen(kGameW, kGameH);
    if (!rendererReady()) GTEST_SKIP() << "no GL 3.3 core context here";
  }
};

TEST_F(MessageScreen16, SixteenBitCellsShowTheText) {
  if (!renderer().sixteenBit) GTEST_SKIP() << "16-bit textures refused here";
  page("", "早上好");
  const Screen s = capture();
  int white = 0, black = 0;
  // The frame itself may be 16-bit, so the colours are compared near their ends.
  for (uint32_t c : s.pixels) {
    const uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    white += r >= 0xE0 && g >= 0xE0 && b >= 0xE0;
    black += r < 0x20 && g < 0x20 && b < 0x20;
  }
  EXPECT_GT(white, 3 * 20);
  EXPECT_GT(black, 3 * 20);
}

TEST_F(MessageScreen, NewColoursReachShownTextAtResetMess) {
  page("setFontStyle 16, -1\n", "早上好");  // anti-aliased body only
  const auto count = [&](uint32_t colour) {
    const Screen s = capture();
    int n = 0;
    for (uint32_t c : s.pixels) n += (c & 0xFFFFFF) == colour;
    return n;
  };
  EXPECT_GT(count(0xFFFFFF), 40);
  script(gbk("setFontColor 16711680, -1\ndraw\n"));
  EXPECT_GT(count(0xFFFFFF), 40);  // the placed characters keep their pictures
  EXPECT_EQ(count(0xFF0000), 0);
  script(gbk("resetMess\ndraw\n"));
  EXPECT_EQ(count(0xFFFFFF), 0);
  EXPECT_GT(count(0xFF0000), 40);
}

TEST_F(MessageScreen, FastForwardGivesTextSpritesAStandIn) {
  scriptState().fastForwardMode = 1;
  script(gbk("ssp 4, \"ABC\", 0\n"));
  EXPECT_EQ(sprite(4).frontImage().picture.width, 1);
  EXPECT_EQ(sprite(4).frontImage().picture.height, 1);
}

TEST_F(MessageScreen, HiddenTextIsNotDrawn) {
  page("setWindowVisible 1\n", "早上好");
  const Screen s = capture();
  int changed = 0;
  for (uint32_t c : s.pixels) changed += (c & 0xFFFFFF) != (kBackground & 0xFFFFFF);
  EXPECT_EQ(changed, 0);
}

TEST_F(MessageScreen, StringSpritesGetTheirCanvasSize) {
  struct Case {
    int style, w, h;
  };
  for (const Case& c : {Case{16, 126, 30}, Case{17, 128, 32}}) {
    script(gbk("ssp_set \"黑体\", 24, " + std::to_string(c.style) +
               ", 16777215, 16777215, 0\nssp 5, \"ABCDEFGHIJ\", 0\nsp_cxy 5, 0, 0\nsp_xy 5, 10, 10\ndraw\n"));
    Sprite& sp = sprite(5);
    EXPECT_EQ(sp.frontImage().picture.width, c.w);
    EXPECT_EQ(sp.frontImage().picture.height, c.h);
    EXPECT_EQ(sp.sourceName, "ABCDEFGHIJ");
  }
  const Screen s = capture();
  int white = 0;
  for (int y = 10; y < 42; ++y)
    for (int x = 10; x < 138; ++x) white += s.at(x, y) == 0xFFFFFF;
  EXPECT_GT(white, 50);
}

TEST_F(MessageScreen, LogSpritesLayOutRowsAndRuby) {
  script(gbk("ssp_set \"黑体\", 24, 16, 16777215, 16777215, 0\nsetMessLog 20, 0, 0, 0, 2, 4\n"
             "logsp 6, \"ab\x0c{漢字/かんじ}\", 0, 2\nlogsp_reset 6\n"));
  SpritePicture& p = sprite(6).frontImage().picture;
  EXPECT_EQ(p.width, 578);   // even-up((2 + 24) x 22 + 5)
  EXPECT_EQ(p.height, 62);   // even-up((4 + 24) x 2 + 5)
  ASSERT_NE(p.pixels, nullptr);
  // Something drawn on the second row (the base) and just above it (the ruby).
  const auto inked = [&](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 60; ++x) n += (p.pixels->pixels[y * p.pixels->width + x] >> 24) != 0;
    return n;
  };
  EXPECT_GT(inked(4, 28), 20);   // first row "ab"
  EXPECT_GT(inked(40, 62), 20);  // the base on the second row
  EXPECT_EQ(sprite(6).sourceName, gbk("ab\x0c{漢字/かんじ}"));
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(MessageScreen, LogSpritesFollowTheProportionalLayout) {
  for (const bool proportional : {false, true}) {
    SCOPED_TRACE(proportional);
    script(gbk(std::string("ssp_set \"黑体\", 24, 16, 16777215, 16777215, 0\nsetMessLog 20, 0, 0, 0, 0, 4\n") +
               "setMessProportional " + (proportional ? "1" : "0") + "\nlogsp 6, \"WWWW\", 0, 1\nlogsp_reset 6\n"));
    const SpritePicture& p = sprite(6).frontImage().picture;
    ASSERT_NE(p.pixels, nullptr);
    int rightmost = -1;
    for (int y = 0; y < p.pixels->height; ++y)
      for (int x = 0; x < p.pixels->width; ++x)
        if (p.pixels->pixels[y * p.pixels->width + x] >> 24) rightmost = std::max(rightmost, x);
    const int w = spriteText().advancePixels('W');
    ASSERT_GT(w, 12);
    if (proportional)
      EXPECT_GT(rightmost, 3 * w + w / 2);  // four whole letters side by side
    else
      EXPECT_LT(rightmost, 3 * 12 + w + 2);  // the fourth starts one and a half cells in
  }
}

TEST_F(MessageScreen, LongTextSpritesKeepTheirWholeText) {
  const std::string text(300, 'x');
  script(gbk("ssp 7, \"" + text + "\", 0\nssp_reset 7\n"));
  EXPECT_EQ(sprite(7).sourceName, text);
}

TEST_F(MessageScreen, SspDrawBlendsOntoThePreparedPicture) {
  writePicture("box.png", 64, 32, 0xFF000000);
  script(gbk("ssp_set \"黑体\", 24, 16, 16777215, 16777215, 0\nsp 3, \"box.png\", 0, 0\nssp_draw 3, \"AB\", 2, 2\n"
             "ssp_draw 3, \"CD\", 60, -10\n"));
  const Image* pixels = sprite(3).backImage().picture.pixels;
  ASSERT_NE(pixels, nullptr);
  int white = 0;
  for (int i = 0; i < pixels->pixelCount; ++i) white += (pixels->pixels[i] & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_GT(white, 20);
}

TEST_F(MessageScreen, UnusableFontsAreReportedAndNothingIsDrawn) {
  std::ofstream(game / "bad.ttf") << "this is not a font";
  struct Case {
    const char* name;
    const char* report;
  };
  for (const Case& c : {Case{"bad.ttf", "FT_Err_Unknown_File_Format bad.ttf"}, Case{"NoSuchFace", "CreateFontIndirect NoSuchFace"}}) {
    reports.clear();
    page(std::string("setFontFile \"") + c.name + "\", \"\"\n", "早上好");
    EXPECT_TRUE(reports.anyBoxContains(c.report)) << c.name;
    EXPECT_FALSE(mainText().hasFace());
    EXPECT_EQ(mainText().count, 3);  // placed, drawn as nothing
  }
}

}  // namespace
}  // namespace vellum::test
