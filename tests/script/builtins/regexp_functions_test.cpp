// regexp_create, regexp_count, regexp_replace, regexp_trans, regexp_match and regexp_split in packed
// games. 俠 (82 62) and 傾 (83 41) are GBK characters whose trail bytes are 'b' and 'A'.
#include <gtest/gtest.h>

#include "script/builtins/packed_game.h"

namespace vellum {
namespace {

class RegexpFunctions : public ::testing::TestWithParam<test::GameCase> {};

TEST_P(RegexpFunctions, PrintWhatTheScriptComputes) {
  test::expectGameCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexpFunctions,
    ::testing::Values(
        test::GameCase{"create_is_silent", "regexp_create\nprint \"ok\"\n", "ok"},
        test::GameCase{"count", "regexp_create\nregexp_count \"foo boo\", \"s/o/0/g\", %1\nprint %1\n", "4"},
        test::GameCase{"count_empty_text_or_pattern",
                       "regexp_count \"\", \"s/o/0/g\", %1\nregexp_count \"foo\", \"\", %2\nprint %1, %2\n", "00"},
        test::GameCase{"replace", "regexp_replace \"hello world\", \"s/o/0/g\", $1\nprint $1\n", "hell0 w0rld"},
        test::GameCase{"replace_groups", "regexp_replace \"me@home\", \"s/(\\w+)@(\\w+)/$2 at $1/\", $1\nprint $1\n",
                       "home at me"},
        test::GameCase{"replace_gbk_trail_byte", "regexp_replace \"傾A傾\", \"s/A/x/gik\", $1\nprint $1\n", "傾x傾"},
        test::GameCase{"replace_double_byte", "regexp_replace \"你好世界\", \"s/[你好]/X/g\", $1\nprint $1\n", "XX世界"},
        test::GameCase{"replace_nothing_keeps_the_text", "regexp_replace \"abc\", \"s/z/y/\", $1\nprint $1\n", "abc"},
        test::GameCase{"trans", "regexp_trans \"abcd俠b\", \"tr/a-c/A-C/\", $1\nprint $1\n", "ABCd俠B"},
        test::GameCase{"match_gbk_trail_byte",
                       "regexp_match \"俠b\", \"m/b/k\", %1, %2, $3\nprint %1, \",\", %2, \",\", $3\n", "2,1,b"},
        test::GameCase{"match_double_byte", "regexp_match \"a你好\", \"m/好/\", %1, %2, $3\nprint %1, \",\", %2, \",\", $3\n",
                       "3,2,好"},
        test::GameCase{"match_three_arguments", "regexp_match \"abc\", \"m/c/\", %1\nprint %1\n", "2"},
        test::GameCase{"no_match_keeps_position_and_text",
                       "int p = 9\nstring m = \"old\"\nint l = 5\nregexp_match \"abc\", \"m/z/\", %p, %l, $m\n"
                       "print %p, \",\", %l, \",\", $m\n",
                       "9,0,old"},
        test::GameCase{"empty_text_is_no_match",
                       "int p = 9\nint l = 5\nregexp_match \"\", \"m/.*/\", %p, %l\nprint %p, \",\", %l\n", "9,0"},
        test::GameCase{"empty_match_counts_natively", "regexp_match \"abc\", \"m/x*/\", %1, %2\nprint %1, \",\", %2\n",
                       "0,0"},
        test::GameCase{"split", "regexp_split \"a, b,c\", \"/,\\s*/\", $1, $2, $3, $4 = \"-\"\nprint $1, $2, $3, $4\n",
                       "abc-"},
        test::GameCase{"split_into_numbers", "regexp_split \"10 20\", \"/ /\", %1, %2\nprint %1 + %2\n", "30"},
        test::GameCase{"split_gbk_trail_byte", "regexp_split \"俠b俠\", \"/b/\", $1, $2\nprint $1, \"|\", $2\n", "俠|俠"},
        test::GameCase{"bad_pattern_reports", "regexp_match \"abc\", \"m/(/\", %1\n", "",
                       "Error: m/(/ : missing closing parenthesis | script/0.txt[1] regexp_match\n"},
        test::GameCase{"bad_expression_keeps_the_text",
                       "regexp_replace \"abc\", \"q/x/\", $1\nprint $1\n", "abc",
                       "Error: q/x/ : expression must start with m/, s/, tr/ or / | script/0.txt[1] regexp_replace\n"},
        test::GameCase{"match_argument_count", "regexp_match \"abc\", \"m/a/\"\n", "",
                       "Error: 引数の数が不正です | script/0.txt[1] regexp_match\n"}),
    test::caseName);

}  // namespace
}  // namespace vellum
