// count, match, split, len, mid, upper, lower, itos16 and rand in packed games.
#include <gtest/gtest.h>

#include "script/builtins/packed_game.h"

namespace vellum {
namespace {

class StringFunctions : public ::testing::TestWithParam<test::GameCase> {};

TEST_P(StringFunctions, PrintWhatTheScriptComputes) {
  test::expectGameCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringFunctions,
    ::testing::Values(
        test::GameCase{"count_ascii", "count \"abcabc\", \"b\", %1\nprint %1\n", "2"},
        test::GameCase{"count_double_byte", "count \"你好你\", \"你\", %1\nprint %1\n", "2"},
        // 俠 is 82 62 in GBK: its trail byte is 'b' and must not be counted.
        test::GameCase{"count_skips_trail_bytes", "count \"俠b俠\", \"b\", %1\nprint %1\n", "1"},
        test::GameCase{"count_two_characters_reports", "int n = 7\ncount \"abc\", \"ab\", %n\nprint %n\n", "7",
                       "Error: 第二引数が文字数が１文字ではありません | script/0.txt[2] count\n"},
        test::GameCase{"count_empty_character_reports", "count \"abc\", \"\", %1\n", "",
                       "Error: 第二引数が文字数が１文字ではありません | script/0.txt[1] count\n"},
        test::GameCase{"match_byte_offset", "match %1, \"ab你c\", \"c\"\nprint %1\n", "4"},
        test::GameCase{"match_absent", "match %1, \"abc\", \"z\"\nprint %1\n", "-1"},
        test::GameCase{"match_not_on_a_trail_byte", "match %1, \"俠b\", \"b\"\nprint %1\n", "2"},
        test::GameCase{"match_two_characters_reports", "match %1, \"abc\", \"bc\"\n", "",
                       "Error: 第二引数が文字数が１文字ではありません | script/0.txt[1] match\n"},
        test::GameCase{"split_into_targets",
                       "split \"a,b,,12\", \",\", $1, $2, $3, %4\nprint $1, \"|\", $2, \"|\", $3, \"|\", %4\n",
                       "a|b||12"},
        test::GameCase{"split_defaults_for_missing_pieces",
                       "split \"x\", \"/\", $1, $2 = \"dflt\", %3 = 5, %4\nprint $1, $2, %3, %4\n", "xdflt50"},
        test::GameCase{"split_creates_named_targets", "split \"p q\", \" \", $first, $second\nprint $second, $first\n",
                       "qp"},
        test::GameCase{"split_at_a_double_byte_separator", "split \"甲、乙\", \"、\", $1, $2\nprint $2, $1\n", "乙甲"},
        test::GameCase{"split_separator_must_be_one_character", "split \"a--b\", \"--\", $1\n", "",
                       "Error: 第二引数が文字数が１文字ではありません | script/0.txt[1] split\n"},
        test::GameCase{"len_bytes", "len %1, \"ab你\"\nprint %1\n", "4"},
        test::GameCase{"len_of_a_number_is_its_empty_string", "len %1, 123\nprint %1\n", "0"},
        test::GameCase{"mid_middle", "mid $1, \"abcdef\", 2, 3\nprint $1\n", "cde"},
        test::GameCase{"mid_runs_to_the_end", "mid $1, \"abcdef\", 4, 10\nprint $1\n", "ef"},
        test::GameCase{"mid_at_the_length_is_empty", "string o = \"x\"\nmid $o, \"abc\", 3, 1\nprint \"[\", $o, \"]\"\n",
                       "[]"},
        test::GameCase{"upper_ascii_only", "string s = \"Ab你z俠b\"\nupper $s\nprint $s\n", "AB你Z俠B"},
        test::GameCase{"lower_ascii_only", "string s = \"AB傾A\"\nlower $s\nprint $s\n", "ab傾a"},
        test::GameCase{"itos16", "itos16 $1, 255\nitos16 $2, -1\nprint $1, \" \", $2\n", "FF FFFFFFFF"},
        test::GameCase{"rand_one_value", "rand %1, 1, 1\nrand %2, -3, -3\nprint %1, %2\n", "1-3"},
        test::GameCase{"rand_in_range",
                       "int n, bad\nfor %1, 1, 200\nrand %n, 3, 5\nif (%n < 3) cal %bad += 1\nif (%n > 5) cal %bad += 1\n"
                       "next\nprint %bad\n",
                       "0"},
        test::GameCase{"rand_full_range_is_the_raw_value",
                       "int n, low\nfor %1, 1, 50\nrand %n, 0, -1\nnext\nprint \"ok\"\n", "ok"}),
    test::caseName);

}  // namespace
}  // namespace vellum
