// The save text pieces: the free-text escape, the push-stack splitter and the checked line reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persist/save_text.h"

namespace vellum {
namespace {

// "チ" in Shift-JIS is 0x83 0x60: its trail byte is a backquote.
const std::string kChi = "\x83\x60";

TEST(SaveTextEscape, FreeTextSurvivesTheLineParserWhole) {
  const std::vector<std::string> texts = {
      "plain", "a,b", "it's \"quoted\"", "two\nlines\r\n", "`backquote", kChi + kChi, "100%", " edges ",
      "pipe|pipe", "lead at end \x83", std::string("nul\0byte", 8), "\x83\x0a", "\t", "",
  };
  for (const std::string& text : texts) {
    const std::string escaped = escapeSaveText(text);
    const KeyValues values = parseKeyValues("k=" + escaped + "," + escaped + "\n");
    ASSERT_EQ(values.at("k").size(), 2u) << escaped;
    EXPECT_EQ(unescapeSaveText(values.at("k")[0]), text) << escaped;
    EXPECT_EQ(unescapeSaveText(values.at("k")[1]), text) << escaped;
    EXPECT_EQ(escaped.find('\n'), std::string::npos);
    EXPECT_EQ(escaped.find('`'), std::string::npos);
  }
}

TEST(SaveTextEscape, DoubleByteTextStaysReadable) {
  EXPECT_EQ(escapeSaveText("\x83\x41\x83\x43"), "\x83\x41\x83\x43");
  EXPECT_EQ(escapeSaveText(kChi), "\x83%60");
}

TEST(SaveTextEscape, AStrayPercentOfAnOldSaveIsKept) {
  EXPECT_EQ(unescapeSaveText("50%"), "50%");
  EXPECT_EQ(unescapeSaveText("%zz"), "%zz");
  EXPECT_EQ(unescapeSaveText("%2C"), ",");
}

TEST(SaveStack, SplitsOnlyAtABackquoteThatBeginsALine) {
  // Old unescaped saves: a backquote inside a line or as a trail byte is text.
  const std::string first = "A=1\nmsgBuffer1=" + kChi + "x`y\nComment=\n";
  const std::string second = "A=2\n" + kChi + "=3\nComment=\n";
  const std::string third = "A=3\nComment=c\n";
  const std::string stack = first + "`\n" + second + "`\n" + third;
  const std::vector<std::string_view> blocks = splitSaveStack(stack);
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0], first);
  EXPECT_EQ(blocks[1], second);
  EXPECT_EQ(blocks[2], third);
  EXPECT_EQ(joinSaveStack(blocks, 0, 2), stack);
  EXPECT_EQ(joinSaveStack(blocks, 1, 1), second);
  EXPECT_TRUE(splitSaveStack("").empty());
}

TEST(SaveStack, ALeadByteTakesTheLineFeedAfterItAsItsTrailByte) {
  // "\x83\n" is one character, so the backquote after it does not begin a line.
  const std::vector<std::string_view> blocks = splitSaveStack("a\x83\n`\nb\n`\nc\n");
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[1], "c\n");
}

TEST(SaveBlockParse, TheMarkerLineTurnsTheEscapeOn) {
  const SaveBlock escaped = parseSaveBlock(std::string(kEscapedMarkerLine) + "Comment=a%2Cb\n");
  EXPECT_TRUE(escaped.escaped);
  EXPECT_EQ(escaped.text(escaped.find("Comment")->front()), "a,b");
  const SaveBlock old = parseSaveBlock("Comment=a%2Cb\n");
  EXPECT_FALSE(old.escaped);
  EXPECT_EQ(old.text(old.find("Comment")->front()), "a%2Cb");
}

TEST(SaveLineReaderTest, ReadsEachKindAndFlagsBadPieces) {
  const SaveBlock block = parseSaveBlock("L=-5,FF,12,1.5,7V,t%2C\n");
  SaveLineReader in(block, *block.find("L"));
  EXPECT_EQ(in.integer(), -5);
  EXPECT_EQ(in.hex(), 0xFFu);
  EXPECT_EQ(in.elapsed(), 12u);
  EXPECT_FLOAT_EQ(in.real(), 1.5f);
  EXPECT_EQ(in.key32(), 7u * 32 + 31);
  EXPECT_EQ(in.raw(), "t%2C");
  EXPECT_TRUE(in.ok);
  in.integer();  // past the end
  EXPECT_FALSE(in.ok);

  const struct {
    const char* line;
  } bad[] = {{"L=x\n"}, {"L=12x\n"}, {"L=\n"}, {"L=99999999999999999999\n"}};
  for (const auto& b : bad) {
    const SaveBlock badBlock = parseSaveBlock(b.line);
    SaveLineReader r(badBlock, *badBlock.find("L"));
    r.integer();
    EXPECT_FALSE(r.ok) << b.line;
  }
  const SaveBlock keys = parseSaveBlock("L=W,-1,\n");
  SaveLineReader k(keys, *keys.find("L"));
  k.key32();
  EXPECT_FALSE(k.ok);
  SaveLineReader e(keys, *keys.find("L"));
  e.raw();
  e.elapsed();
  EXPECT_FALSE(e.ok);
}

}  // namespace
}  // namespace vellum
