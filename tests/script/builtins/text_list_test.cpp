// The TextList in packed games: loading in the three encodings, reading, changing, sorting with
// each flag and saving.
#include <gtest/gtest.h>

#include <string>

#include "script/builtins/packed_game.h"

namespace vellum {
namespace {

using namespace std::string_literals;

// Loads in.txt, runs the script lines and saves the list to out.txt.
std::string withList(const std::string& body) { return "int n\nloadText \"in.txt\", %n\n" + body + "saveText \"out.txt\"\n"; }

struct ListCase {
  const char* name;
  std::string in;
  std::string body;      // UTF-8 script lines between loadText and saveText
  std::string expected;  // out.txt
  std::string out = "";  // standard output
  std::string err = "";
};

class TextList : public ::testing::TestWithParam<ListCase> {};

TEST_P(TextList, LeavesTheListAsExpected) {
  const ListCase& c = GetParam();
  const test::PackedGame game(withList(c.body));
  game.file("in.txt", c.in);
  const auto result = game.run();
  EXPECT_EQ(game.read("out.txt"), c.expected);
  EXPECT_EQ(result.out, c.out);
  EXPECT_EQ(result.err, c.err);
}

const std::string kMixed = "b\r\nA\r\na\r\nC\r\nb\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, TextList,
    ::testing::Values(
        ListCase{"round_trip", "one\r\ntwo\nthree", "print %n\n", "one\r\ntwo\nthree", "3"},
        ListCase{"final_newline_makes_no_empty_line", "a\nb\n", "print %n\n", "a\nb\n", "2"},
        ListCase{"get_trims_and_raw_keeps", "  a \t\r\nb\n",
                 "getText $1, 1\ngetText $2, 1, 1\nlen %3, $2\nprint \"[\", $1, \"]\", %3\n", "  a \t\r\nb\n", "[a]7"},
        ListCase{"lf_after_a_lead_byte_still_ends_the_line", "x\x81\ny\n", "print %n\n", "x\x81\ny\n", "2"},
        ListCase{"utf16le_keeps_the_mark_and_adds_its_newline", "\xFF\xFEo\0n\0\n\0t\0w\0\n\0"s,
                 "print %n\naddText \"x\", 0, 1\ngetText $1, 1\nlen %2, $1\nprint %2\n",
                 "\xFF\xFEo\0n\0\n\0t\0w\0\n\0x\n\0"s, "26"},
        ListCase{"utf16be_newline", "\xFE\xFF\0o\0\n\0t"s, "print %n\naddText \"y\", 1, 0\n", "\xFE\xFF\0o\0\n\0t\0\ny"s,
                 "2"},
        ListCase{"multibyte_newline_is_crlf", "a\n", "addText \"b\", 0, 1\naddText \"c\", 1, 0\n", "a\nb\r\n\r\nc"},
        ListCase{"set_replaces_a_line", "a\nb\nc\n", "setText \"B\", 2, 1\nsetText \"C\", 3, 0\n", "a\nB\r\nC"},
        ListCase{"insert_before_a_line", "a\nb\n", "insertText \"0\", 1, 1\ninsertText \"x\", 3, 0\n", "0\r\na\nxb\n"},
        ListCase{"line_range_is_checked", "a\n", "getText $1, 2\nsetText \"x\", 0, 1\ninsertText \"x\", 2, 1\n", "a\n", "",
                 "Error: 行数の指定が範囲を超えています | script/0.txt[3] getText\n"
                 "Error: 行数の指定が範囲を超えています | script/0.txt[4] setText\n"
                 "Error: 行数の指定が範囲を超えています | script/0.txt[5] insertText\n"},
        ListCase{"sort_ascending_bytewise", kMixed, "sortText 0, 0, 0\n", "A\r\nC\r\na\r\nb\r\nb\r\n"},
        ListCase{"sort_descending", kMixed, "sortText 0, 0, 2\n", "b\r\nb\r\na\r\nC\r\nA\r\n"},
        ListCase{"sort_unique", kMixed, "sortText 0, 0, 1\n", "A\r\nC\r\na\r\nb\r\n"},
        ListCase{"sort_descending_unique", kMixed, "sortText 1, 5, 3\n", "b\r\na\r\nC\r\nA\r\n"},
        ListCase{"sort_folded_unique", "b\r\nA\r\nC\r\nb\r\n", "sortText 0, 0, 5\n", "A\r\nb\r\nC\r\n"},
        ListCase{"sort_folded_descending", "b\r\nA\r\nC\r\n", "sortText 0, 0, 6\n", "C\r\nb\r\nA\r\n"},
        ListCase{"sort_part_of_the_list", "d\nc\nb\na\n", "sortText 2, 3, 0\n", "d\nb\nc\na\n"},
        ListCase{"sort_range_is_checked", "b\na\n", "sortText -1, 0, 0\nsortText 1, 3, 0\n", "b\na\n", "",
                 "Error: 行数の指定が範囲を超えています | script/0.txt[3] sortText\n"
                 "Error: 行数の指定が範囲を超えています | script/0.txt[4] sortText\n"},
        ListCase{"clear_empties_the_list", "a\nb\n", "clearText\naddText \"z\", 0, 0\n", "z"}),
    [](const auto& info) { return std::string(info.param.name); });

// The folding comparison works in GBK: katakana sort with hiragana, full-width capitals with small
// letters. Lines equal when folded keep no particular order among themselves.
TEST(TextListFolding, KanaAndFullWidthLettersCompareAsTheirFoldedForms) {
  const test::PackedGame game("int n\nloadText \"in.txt\", %n\nsortText 0, 0, 4\nsaveText \"out.txt\"\n"
                              "sortText 0, 0, 0\nsaveText \"bytewise.txt\"\n");
  game.file("in.txt", test::gbk("イ\nＢ\nあ\nａ\n"));
  EXPECT_EQ(game.run().err, "");
  EXPECT_EQ(game.read("out.txt"), test::gbk("ａ\nＢ\nあ\nイ\n"));
  EXPECT_EQ(game.read("bytewise.txt"), test::gbk("Ｂ\nａ\nあ\nイ\n"));
}

TEST(TextListFolding, FoldedDuplicatesLeaveOneLine) {
  const test::PackedGame game("int n\nloadText \"in.txt\", %n\nsortText 0, 0, 5\nsaveText \"out.txt\"\n");
  game.file("in.txt", test::gbk("ア\nあ\nい\n"));
  game.run();
  const std::string out = game.read("out.txt");
  EXPECT_TRUE(out == test::gbk("あ\nい\n") || out == test::gbk("ア\nい\n")) << out;
}

TEST(TextListSave, StartCountAndMode) {
  const test::PackedGame game(
      "int n\nloadText \"in.txt\", %n\nsaveText \"part.txt\", 1, 3\nsaveText \"part.txt\", 0, 1, \"ab\"\n"
      "saveText \"sub/all.txt\", 0\nsaveText \"bad.txt\", 0, 1, \"r\"\n");
  game.file("in.txt", "0\n1\n2\n3\n");
  const auto result = game.run();
  EXPECT_EQ(game.read("part.txt"), "1\n2\n0\n");
  EXPECT_EQ(game.read("sub/all.txt"), "0\n1\n2\n3\n");
  EXPECT_FALSE(game.exists("bad.txt"));
  EXPECT_EQ(result.err, "Error: bad.txt Invalid argument | script/0.txt[6] saveText\n");
}

TEST(TextListLoad, AFailedLoadKeepsTheList) {
  const test::PackedGame game("int n = 5\nloadText \"in.txt\", %n\nloadText \"missing.txt\", %n\nprint %n\n"
                              "saveText \"out.txt\"\n");
  game.file("in.txt", "a\nb\n");
  const auto result = game.run();
  EXPECT_EQ(result.out, "2");
  EXPECT_EQ(game.read("out.txt"), "a\nb\n");
}

}  // namespace
}  // namespace vellum
