// Scripts packed into a game and run by the engine executable, compared on standard output.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "storage/hashes.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

struct ScriptCase {
  const char* name;
  const char* script;  // UTF-8, converted to GBK
  const char* out;     // expected standard output
};

class ScriptRun : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptRun, PrintsWhatTheScriptSays) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", test::gbk(GetParam().script)}});
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptRun,
    ::testing::Values(
        ScriptCase{"cal_and_print", "int a\ncal %a = 1 + 2 * 3 : print %a\n", "7"},
        ScriptCase{"padding", "int a = 7\nprint $(%a)3\n", "007"},
        ScriptCase{"prefix_run", "print -!0, \",\", 0xFFFFFFFF\n", "1,4294967295"},
        ScriptCase{"print_pieces", "print 1, \"a\", 2.5\n", "1a2.5"},
        ScriptCase{"gosub_resumes_in_line", "gosub *s : print \"x\"\nend\n*s\nprint \"in \"\nreturn\n", "in x"},
        ScriptCase{"gosub_resumes_next_line", "gosub *s\nprint \"after\"\nend\n*s\nprint \"in \"\nreturn\n", "in after"},
        ScriptCase{"return_to_label", "gosub *s\nprint \"skipped\"\n*t\nprint \"t\"\nend\n*s\nreturn *t\n", "t"},
        ScriptCase{"goto", "goto *b\nprint \"no\"\n*b\nprint \"yes\"\n", "yes"},
        ScriptCase{"if_chain", "int a = 2\nif (%a == 1) print \"one\"\nelseif (%a == 2) print \"two\"\nelse print \"other\"\n",
                   "two"},
        ScriptCase{"if_taken_blocks_elseif", "if (1) print \"a\"\nelseif (1) print \"b\"\nelse print \"c\"\n", "a"},
        ScriptCase{"for_loop", "for %1, 1, 3 : print %1 : next\n", "123"},
        ScriptCase{"for_lines", "for %1, 3, 1, -1\nprint %1\nnext\nprint \".\"\n", "321."},
        ScriptCase{"empty_for_skips_nested",
                   "for %1, 5, 1\nfor %2, 1, 2\nprint \"x\"\nnext\nprint \"y\"\nnext\nprint \"done\"\n", "done"},
        ScriptCase{"break_first_pass", "for %1, 1, 5\nprint %1\nbreak\nnext\nprint \"!\"\n", "1!"},
        ScriptCase{"break_later", "for %1, 1, 5\nif (%1 == 3) break\nprint %1\nnext\nprint \"!\"\n", "12!"},
        ScriptCase{"continue", "for %1, 1, 4\nif (%1 == 2) continue\nprint %1\nnext\n", "134"},
        ScriptCase{"named_variables",
                   "int count = 4, other\nstring name = \"Aya\"\ncal %count += 3, $name += \"!\"\nprint %count, $name, %other\n",
                   "7Aya!0"},
        ScriptCase{"string_slicing", "string s = \"hello\"\nprint $s + 2, \"/\", 3 + $s\n", "llo/lo"},
        ScriptCase{"compound_operators",
                   "int a\ncal %a = 5, %a *= 3, %a -= 1, %a \\= 2, %a <<= 2, %a |= 1, %a ^= 3, %a %= 7\nprint %a\n", "2"},
        ScriptCase{"compound_shifts_by_16_to_31",
                   "int a = 3, b = 0x40000000, c = -65536\ncal %a <<= 20, %b >>= 29, %c >>= 16\nprint %a, \" \", %b, \" \", %c\n",
                   "3145728 2 -1"},
        ScriptCase{"byte_access", "string s = \"ABCD\"\ncal *$s = 97, *($s 2)2 = 0x6665\nprint $s, \" \", *($s)4\n",
                   "aBef 1717912161"},
        // Lines run again in a loop follow what their variables hold on each run.
        ScriptCase{"loop_line_names_its_variable_by_value",
                   "int a, b\nstring n = \"a\"\nfor %1, 1, 4\ncal %$n += %1\nif (%1 == 2) cal $n = \"b\"\nnext\n"
                   "print %a, \" \", %b\n",
                   "3 7"},
        ScriptCase{"loop_line_computes_its_byte_offset",
                   "string s = \"abcd\"\nfor %1, 0, 3\ncal *($s %1) = 65 + %1\nnext\nprint $s\n", "ABCD"},
        ScriptCase{"loop_line_pads_each_number", "string t\nfor %1, 9, 10 : cal $t += $(%1)3 : next\nprint $t\n", "009010"},
        ScriptCase{"user_command", "defsub greet\ngreet \"Aya\", 3\nprint \".\"\nend\n*greet\nstring who\ngetParam $who, %n = 9\nprint $who, %n\nreturn\n",
                   "Aya3."},
        ScriptCase{"user_command_default", "defsub g\ng\nend\n*g\nstring w\ngetParam $w = \"dflt\"\nprint $w\nreturn\n",
                   "dflt"},
        ScriptCase{"label_exist", "labelExist %1, *here\nlabelExist %2, *nowhere\nprint %1, %2\n*here\n", "10"},
        ScriptCase{"variable_exist", "int v\nvariableExist %1, %v\nvariableErase %v\nvariableExist %2, %v\nprint %1, %2\n",
                   "10"},
        ScriptCase{"error_to_stdout", "error \"text\", 0\n", "text\r\nscript/0.txt[1] error\n"},
        ScriptCase{"end_stops", "print \"a\"\nend\nprint \"b\"\n", "a"},
        ScriptCase{"conditions_per_call_depth",
                   "defsub d\nint n\nd\nend\n*d\ncal %n += 1\nif (%n < 12) d\nif (%n == 99) print \"no\"\n"
                   "else print \".\"\nreturn\n", "............"},
        ScriptCase{"file_jump_fast_forwards_to_the_line",
                   "fileJump \"script/0.txt\", 7\n（一）\n\n（二）\n\n\n（三）\n\n（四）\n", "（三）\n（四）\n"},
        ScriptCase{"text_and_commands", "print \"x\"\n（你好）\n\nprint \"y\"\n", "x（你好）\ny"},
        // A load goes on two lines after makeSave: the line right after it does not run again.
        ScriptCase{"load_skips_the_line_after_make_save",
                   "makeSave : saveSave 1, 0\nprint \"a\"\nprint \"b\"\nif (%1 == 1) end\ncal %1 = 1 : loadSave 1, 0\n",
                   "abb"},
        // Saved inside a subroutine, a load runs the line of the outermost call again.
        ScriptCase{"load_in_a_subroutine_calls_again",
                   "gosub *s\nprint \"a\"\nif (%1 == 1) end\ncal %1 = 1 : loadSave 1, 0\nend\n"
                   "*s\nprint \"s\"\ngosub *t\nreturn\n*t\nmakeSave : saveSave 1, 0\nreturn\n",
                   "sasa"},
        ScriptCase{"load_in_a_subroutine_called_mid_line_calls_again",
                   "print \"<\"\ngosub *s : print \"b\"\nif (%1 == 1) end\ncal %1 = 1 : loadSave 1, 0\nend\n"
                   "*s\nprint \"s\"\nmakeSave : saveSave 1, 0\nreturn\n",
                   "<sbsb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptRunLong, UserCommandArgumentsAreKeptWhole) {
  const std::string word = std::string(300, 'x') + "END";
  test::TempFolder game;
  test::writeScriptContainer(
      game, {{"script/0.txt", "defsub echo\necho \"" + word + "\"\nend\n*echo\nstring t\ngetParam $t\nprint $t\nreturn\n"}});
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, word);
  EXPECT_EQ(result.err, "");
}

// A save made in a file other than script/0.txt goes on in that file.
TEST(ScriptRunLong, ALoadGoesOnInTheFileItWasSavedIn) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "goto *other\n"},
                                    {"script/b.txt", "*other\nmakeSave : saveSave 1, 0\nprint \"a\"\nprint \"b\"\n"
                                                     "if (%1 == 1) end\ncal %1 = 1 : loadSave 1, 0\n"}});
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "abb");
  EXPECT_EQ(result.err, "");
}

TEST(ScriptErrors, TwoSubroutinesDeepListsBothCallers) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "gosub *a\nend\n*a\ngosub *b\nreturn\n*b\nerror \"deep\", 0\nreturn\n"}});
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  const std::string key = ulltos32(crc64Of("script/0.txt"));
  EXPECT_EQ(result.out, "deep\r\n" + key + "[1]\r\n" + key + "[4]\r\nscript/0.txt[7] error\n");
}

struct ReportCase {
  const char* name;
  const char* script;
  const char* err;  // expected standard error (the headless error box)
};

class ScriptReports : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ScriptReports, ReportInTheErrorBox) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", test::gbk(GetParam().script)}});
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptReports,
    ::testing::Values(
        ReportCase{"missing_label", "goto *nowhere\n", "Error: *nowhereラベルが存在しません | script/0.txt[1] goto\n"},
        ReportCase{"return_without_gosub", "return\n", "Error: gosub が一度も実行されていません | script/0.txt[1] return\n"},
        ReportCase{"empty_condition", "if print 1\n", "Error: 式が不正です | script/0.txt[1] if\n"},
        ReportCase{"bad_line_in_a_loop_reports_on_every_run", "for %1, 1, 3\ncal %nosuch += 1\nnext\n",
                   "Error: %nosuch += 1 変数が存在しません | script/0.txt[2] cal\n"
                   "Error: %nosuch += 1 変数が存在しません | script/0.txt[2] cal\n"
                   "Error: %nosuch += 1 変数が存在しません | script/0.txt[2] cal\n"},
        ReportCase{"variable_erased_under_a_loop_line",
                   "string n = \"a\"\nint a\nfor %1, 1, 2\ncal %$n += 1\nvariableErase %a\nnext\n",
                   "Error: %$n += 1 変数が存在しません | script/0.txt[4] cal\n"},
        ReportCase{"bad_operator", "cal %1 << 2\n", "Error: script/0.txt[0] %1 << 2 ※代入演算子が不正です\n"},
        ReportCase{"string_compound", "cal $1 -= \"a\"\n",
                   "Error: script/0.txt[0] $1 -= \"a\" ※文字変数に -= 複合代入演算子は使えません\n"},
        ReportCase{"not_assignable", "cal 5 = 1\n", "Error: script/0.txt[0] 5 = 1 ※変数に代入する式ではありません\n"},
        ReportCase{"error_box", "error \"boom\"\n", "Error: boom | script/0.txt[1] error\n"},
        ReportCase{"error_argument_count", "error 1, 2, 3\n", "Error: 引数の数が不正です | script/0.txt[1] error\n"},
        ReportCase{"undeclared_variable", "cal %nope = 1\n", "Error: %nope = 1 変数が存在しません | script/0.txt[1] cal\n"},
        ReportCase{"undefsub_unknown", "undefsub nope\n", "Error: nope登録されていません | script/0.txt[1] undefsub\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
