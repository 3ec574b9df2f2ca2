// Replacing a script file while the game runs: where the game's place lands in the new text, and
// what the label pass lets through.
#include <gtest/gtest.h>

#include "script/label_pass.h"
#include "script/reload_position.h"
#include "script/script_container.h"
#include "script/script_reload.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

struct PlaceCase {
  const char* name;
  const char* before;
  const char* after;
  int line;      // 0-based, in `before`
  int expected;  // 0-based, in `after`
};

class PlaceAfterReload : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceAfterReload, StaysUnderTheSameLabel) {
  ScriptFile before, after;
  parseScript(GetParam().before, before);
  parseScript(GetParam().after, after);
  const FileLabels oldLabels = scanLabels(1, before).labels;
  const FileLabels newLabels = scanLabels(1, after).labels;
  EXPECT_EQ(lineAfterReload(oldLabels, newLabels, static_cast<int>(after.size()), GetParam().line),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlaceAfterReload,
    ::testing::Values(
        PlaceCase{"a_line_added_above_the_label", "*a\nx\ny\n", "z\n*a\nx\ny\n", 2, 3},
        PlaceCase{"a_line_added_inside_keeps_the_count_after_the_label", "*a\nx\ny\n", "*a\nw\nx\ny\n", 2, 2},
        PlaceCase{"a_shorter_part_gives_its_last_line", "*a\nx\ny\nz\n*b\n", "*a\nx\n*b\n", 3, 1},
        PlaceCase{"a_removed_label_counts_from_the_one_before", "*a\nx\n*b\ny\n", "*a\nx\ny\n", 3, 2},
        PlaceCase{"a_moved_label_takes_its_lines_along", "*a\nx\n*b\ny\nz\n", "*b\ny\nz\n*a\nx\n", 4, 2},
        PlaceCase{"before_any_label_counts_from_the_start", "x\ny\n*a\n", "w\nx\ny\n*a\n", 1, 1},
        PlaceCase{"an_emptied_file_gives_its_start", "*a\nx\n", "", 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PairAfterReload, AnUnchangedLineKeepsItsPairAndAChangedOneIsLeftBehind) {
  ScriptFile before, after, changed;
  parseScript("*a\nprint 1 : print 2\n", before);
  parseScript("\n*a\nprint 1 : print 2\n", after);
  parseScript("*a\nprint 3 : print 4\nprint 5\n", changed);
  const FileLabels oldLabels = scanLabels(1, before).labels;
  const LinePosition kept = positionAfterReload(before, oldLabels, after, scanLabels(1, after).labels, {1, 2});
  EXPECT_EQ(kept.line, 2);
  EXPECT_EQ(kept.token, 2);
  const LinePosition left = positionAfterReload(before, oldLabels, changed, scanLabels(1, changed).labels, {1, 2});
  EXPECT_EQ(left.line, 2);
  EXPECT_EQ(left.token, 0);
}

class ScriptReload : public test::EngineTest {
 protected:
  const uint64_t start = crc64Of("script/0.txt");
  const uint64_t second = crc64Of("script/1.txt");
  bool replace(uint64_t key, const char* name, const char* text) {
    return replaceScripts({ScriptReplacement{key, name, text}});
  }
  const LabelRecord* label(const char* name) {
    const auto it = scriptState().labels.find(crc32Of(name));
    return it == scriptState().labels.end() ? nullptr : &it->second;
  }
};

TEST_F(ScriptReload, TheCursorAndTheCallersMoveWithTheirLines) {
  ASSERT_TRUE(addScript("script/0.txt", "*main\ngosub *sub\nprint 1\n", 0));
  ASSERT_TRUE(addScript("script/1.txt", "*sub\nprint 2\nreturn\n", 1));
  ScriptState& s = scriptState();
  // Inside *sub at its `return`, called from script/0.txt line 2.
  s.cursor.slot = 1;
  s.cursor.line = 2;
  s.callFrames.push_back(CallFrame{1, 0, 0});
  s.callerKeys.push_back(start);
  ASSERT_TRUE(replace(start, "script/0.txt", "cal %9 = 1\n*main\ngosub *sub\nprint 1\n"));
  ASSERT_TRUE(replace(second, "script/1.txt", "*sub\nprint 2\nprint 3\nreturn\n"));
  EXPECT_EQ(s.callFrames[0].resumeLine, 2);
  EXPECT_EQ(s.cursor.line, 2);  // the same count after *sub: now `print 3`
  EXPECT_EQ(label("main")->line, 1);
  EXPECT_EQ(s.slots[0].lines.size(), 4u);
}

TEST_F(ScriptReload, ALabelTakenByAnotherFileIsRefusedAndTheOldTextStays) {
  ASSERT_TRUE(addScript("script/0.txt", "*main\nprint 1\n", 0));
  ASSERT_TRUE(addScript("script/1.txt", "*sub\nreturn\n", 1));
  EXPECT_FALSE(replace(start, "script/0.txt", "*main\n*sub\n"));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "script/0.txt[2] *sub ※ラベルが重複しています");
  EXPECT_EQ(scriptState().slots[0].lines.size(), 2u);
  EXPECT_EQ(label("sub")->fileKey, second);
}

TEST_F(ScriptReload, ALabelMayMoveBetweenFilesReplacedTogether) {
  ASSERT_TRUE(addScript("script/0.txt", "*main\n", 0));
  ASSERT_TRUE(addScript("script/1.txt", "*sub\nreturn\n", 1));
  ASSERT_TRUE(replaceScripts({{start, "script/0.txt", "*main\n*sub\nreturn\n"}, {second, "script/1.txt", "*other\n"}}));
  EXPECT_EQ(label("sub")->fileKey, start);
  EXPECT_EQ(label("other")->fileKey, second);
}

TEST_F(ScriptReload, ReadMessagesStayReadAndChangedOnesAreNew) {
  ASSERT_TRUE(addScript("script/0.txt", test::gbk("*main\n（一）\n\n（二）\n"), 0));
  ReadFlagTable& flags = scriptState().readFlags[start];
  flags[1] = 1;
  flags[3] = 1;
  ASSERT_TRUE(replace(start, "script/0.txt", test::gbk("*main\n（新）\n\n（一）\n\n（二！）\n").c_str()));
  EXPECT_EQ(flags, (ReadFlagTable{{1, 0}, {3, 1}, {5, 0}}));
}

TEST_F(ScriptReload, AFileTheGameDidNotHaveCanBeJumpedTo) {
  ASSERT_TRUE(addScript("script/0.txt", "*main\n", 0));
  const uint64_t key = crc64Of("script/new.txt");
  ASSERT_TRUE(replace(key, "script/new.txt", "*fresh\nprint 1\n"));
  EXPECT_EQ(label("fresh")->fileKey, key);
  ScriptFile loaded;
  ASSERT_TRUE(loadScript(key, loaded));
  EXPECT_EQ(loaded.size(), 2u);
  EXPECT_EQ(scriptFileName(key), "script/new.txt");
}

}  // namespace
}  // namespace vellum
