// The Squirrel binding through packed games run by the engine.
#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace vellum {
namespace {

struct SquirrelCase {
  const char* name;
  const char* script;
  const char* squirrel;  // squ/a.nut, loose in the game folder
  const char* out;
};

class SquirrelRun : public ::testing::TestWithParam<SquirrelCase> {};

TEST_P(SquirrelRun, PrintsWhatTheScriptSays) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", GetParam().script}});
  game.write("squ/a.nut", GetParam().squirrel);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SquirrelRun,
    ::testing::Values(
        SquirrelCase{"func_with_integer_result", "loadSqu \"squ/a.nut\"\nfuncSqu foo, 1\nfoo 3, %5\nprint %5\n",
                     "function foo(x) { return x * 2; }\n", "6"},
        SquirrelCase{"func_with_float_result_truncates", "loadSqu \"squ/a.nut\"\nfuncSqu half, 1\nhalf 7, %5\nprint %5\n",
                     "function half(x) { return x / 2.0; }\n", "3"},
        SquirrelCase{"func_with_string_result", "string r\nloadSqu \"squ/a.nut\"\nfuncSqu foo, 2\nfoo \"a\", $r\nprint $r\n",
                     "function foo(s) { return s + \"!\" + s; }\n", "a!a"},
        SquirrelCase{"func_without_result", "loadSqu \"squ/a.nut\"\nfuncSqu say, 0\nsay 1, \"b\", 2.5\n",
                     "function say(a, b, c) { print(a, b, c, typeof a, typeof c); }\n", "1b2.5integerfloat"},
        SquirrelCase{"func_before_any_load_makes_the_vm", "funcSqu abs, 1\nabs -3, %1\nprint %1\n", "", "3"},
        SquirrelCase{"print_from_squirrel", "loadSqu \"squ/a.nut\"\n", "print(\"x\", 2.5, 7);\n", "x2.57"},
        SquirrelCase{"script_variables", "int n = 4\nloadSqu \"squ/a.nut\"\nprint %n, $2\n",
                     "setScriptInteger(\"n\", getScriptInteger(\"n\") + 1);\nsetScriptString(2, \"two\");\n", "5two"},
        SquirrelCase{"array_results", "loadSqu \"squ/a.nut\"\n",
                     "local parts = split(\"a,b,c\", \",\");\nprint(typeof parts, parts.len(), parts[2]);\n",
                     "array3c"},
        SquirrelCase{"standard_libraries", "loadSqu \"squ/a.nut\"\n",
                     "print(format(\"%03d|%s|%.2f\", 7, strip(\"  x \"), PI), abs(-3), regexp(\"b+\").search(\"abbc\").end);\n",
                     "007|x|3.143" "3"},
        SquirrelCase{"second_load_reuses_the_vm", "loadSqu \"squ/a.nut\"\nloadSqu \"squ/a.nut\"\n",
                     "if (!(\"runs\" in getroottable())) ::runs <- 0;\n::runs++;\nprint(::runs);\n", "12"},
        SquirrelCase{"end_from_squirrel_stops_after_the_command", "loadSqu \"squ/a.nut\"\nprint \"not reached\"\n",
                     "print(\"a\");\n::end();\nprint(\"b\");\n", "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

// Reports go to the standard error stream in a headless run, one line each.
struct SquirrelErrorCase {
  const char* name;
  const char* script;
  const char* squirrel;
  const char* out;
  const char* err;
};

class SquirrelErrors : public ::testing::TestWithParam<SquirrelErrorCase> {};

TEST_P(SquirrelErrors, AreReportedAndTheEngineGoesOn) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", GetParam().script}});
  game.write("squ/a.nut", GetParam().squirrel);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, GetParam().err);
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SquirrelErrors,
    ::testing::Values(
        SquirrelErrorCase{"integer_output_must_be_a_number_variable",
                          "loadSqu \"squ/a.nut\"\nfuncSqu f, 1\nf 1, $1\nprint \"on\"\n",
                          "function f(x) { return x; }\n", "on",
                          "Error: 数値変数が不正です | script/0.txt[3] f\n"},
        SquirrelErrorCase{"string_output_must_be_a_string_variable",
                          "loadSqu \"squ/a.nut\"\nfuncSqu f, 2\nf 1, %1\nprint \"on\"\n",
                          "function f(x) { return x; }\n", "on",
                          "Error: 文字列変数が不正です | script/0.txt[3] f\n"},
        SquirrelErrorCase{"string_result_must_be_a_string", "loadSqu \"squ/a.nut\"\nfuncSqu f, 2\nf 1, $1\nprint \"on\"\n",
                          "function f(x) { return x; }\n", "on",
                          "Error: 戻り値が文字列ではありません | script/0.txt[3] f\n"},
        SquirrelErrorCase{"native_only_commands_are_missing", "loadSqu \"squ/a.nut\"\nprint \"on\"\n",
                          "local r = getroottable();\nprint(\"getTag\" in r, \"systemMessage\" in r, \"getTimer\" in r, \"loadLua\" in r, \"funcSqu\" in r);\n",
                          "00110on", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SquirrelVm, IoFilesLiveInTheGameFolder) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "loadSqu \"squ/a.nut\"\n"}});
  game.write("squ/a.nut",
             "local f = file(\"saved.bin\", \"wb\");\nforeach (c in \"kept\") f.writen(c, 'b');\nf.close();\n"
             "local g = file(\"saved.bin\", \"rb\");\nprint(g.len(), g.readn('b'));\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "4107");
  EXPECT_EQ(test::readFileBytes(game / "saved.bin"), "kept");
}

TEST(SquirrelVm, AnErrorClosesTheVmAndTheNextLoadStartsFresh) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "loadSqu \"squ/bad.nut\"\nloadSqu \"squ/good.nut\"\n"}});
  game.write("squ/bad.nut", "::leftover <- 1;\nnothing_here();\n");
  game.write("squ/good.nut", "print(\"leftover\" in getroottable() ? \"stale\" : \"fresh\");\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "fresh");
  EXPECT_EQ(result.err.rfind("Error: squ/bad.nut を実行出来ませんでした", 0), 0u) << result.err;
  EXPECT_NE(result.err.find("nothing_here"), std::string::npos) << result.err;
}

TEST(SquirrelVm, AFunctionCallAfterAnErrorGetsAFreshVm) {
  test::TempFolder game;
  test::writeScriptContainer(
      game, {{"script/0.txt", "loadSqu \"squ/a.nut\"\nloadSqu \"squ/bad.nut\"\nfuncSqu foo, 1\nfoo 1, %1\nprint \"on\"\n"}});
  game.write("squ/a.nut", "function foo(x) { return x; }\n");
  game.write("squ/bad.nut", "throw \"stop\";\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  // The fresh VM has no foo: fetching it fails and the engine carries on.
  EXPECT_EQ(result.out, "on");
  EXPECT_NE(result.err.find("Error: sq_get | "), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vellum
