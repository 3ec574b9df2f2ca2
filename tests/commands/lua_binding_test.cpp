// The Lua binding through packed games run by the engine.
#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace vellum {
namespace {

struct LuaCase {
  const char* name;
  const char* script;
  const char* lua;  // lua/a.lua, loose in the game folder
  const char* out;
};

class LuaRun : public ::testing::TestWithParam<LuaCase> {};

TEST_P(LuaRun, PrintsWhatTheScriptSays) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", GetParam().script}});
  game.write("lua/a.lua", GetParam().lua);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LuaRun,
    ::testing::Values(
        LuaCase{"func_with_integer_result", "loadLua \"lua/a.lua\"\nfuncLua foo, 1\nfoo 3, %5\nprint %5\n",
                "function foo(x) return x * 2 end\n", "6"},
        LuaCase{"func_with_string_result", "loadLua \"lua/a.lua\"\nfuncLua greet, 2\ngreet \"Aya\", $1\nprint $1\n",
                "function greet(n) return 'hi ' .. n end\n", "hi Aya"},
        LuaCase{"func_without_result", "loadLua \"lua/a.lua\"\nfuncLua say, 0\nsay 1, \"b\"\n",
                "function say(a, b) print(a, b) end\n", "1b"},
        LuaCase{"print_from_lua", "loadLua \"lua/a.lua\"\n", "print('x', 2.5, 7)\n", "x2.57"},
        LuaCase{"script_variables", "int n = 4\nloadLua \"lua/a.lua\"\nprint %n, $2\n",
                "setScriptInteger('n', getScriptInteger('n') + 1)\nsetScriptString(2, 'two')\n", "5two"},
        LuaCase{"mbsub", "loadLua \"lua/a.lua\"\n", "print(string.mbsub('ab\xb0\xa1', 3), string.mblen('ab\xb0\xa1'))\n",
                "\xe5\x95\x8a" "3"},
        LuaCase{"eachmbc", "loadLua \"lua/a.lua\"\n",
                "for c in eachmbc('a\xb0\xa1z') do print('[', c, ']') end\n", "[a][\xe5\x95\x8a][z]"},
        LuaCase{"error_context_names_the_source", "loadLua \"lua/a.lua\"\n", "\nerror('boom', 0)\n",
                "error boom\n\tlua/a.lua:2: main\n"},
        LuaCase{"second_load_reuses_the_vm", "loadLua \"lua/a.lua\"\nloadLua \"lua/a.lua\"\n",
                "count_runs = (count_runs or 0) + 1\nprint(count_runs)\n", "12"},
        LuaCase{"end_from_lua_stops_after_the_command", "loadLua \"lua/a.lua\"\nprint \"not reached\"\n",
                "print('a')\n_G['end']()\nprint('b')\n", "ab"},
        LuaCase{"get_timer_returns_the_milliseconds", "loadLua \"lua/a.lua\"\n",
                "local t = getTimer()\nprint(type(t), t >= 0 and 'ok' or 'negative')\n", "numberok"},
        LuaCase{"split_returns_an_array", "loadLua \"lua/a.lua\"\n",
                "local p = split('a,,b', ',')\nprint(#p, p[1], '|', p[2], '|', p[3])\n", "3a||b"},
        LuaCase{"regexp_split_returns_an_array", "loadLua \"lua/a.lua\"\n",
                "local p = regexp_split('a, b,c', '/,\\\\s*/')\nprint(#p, p[1], p[2], p[3])\n", "3abc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LuaErrors, AnErrorClosesTheVmAndTheNextLoadStartsFresh) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "loadLua \"lua/bad.lua\"\nloadLua \"lua/good.lua\"\n"}});
  game.write("lua/bad.lua", "leftover = 1\nnothing_here()\n");
  game.write("lua/good.lua", "print(leftover == nil and 'fresh' or 'stale')\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "fresh");
  EXPECT_NE(result.err.find("attempt to call global 'nothing_here'"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.rfind("Error: ", 0), 0u);
}

TEST(LuaErrors, AFailingFunctionIsReportedUnderItsOwnName) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "loadLua \"lua/a.lua\"\nfuncLua f, 0\nf 1\n"}});
  game.write("lua/a.lua", "function f(x) print('') local t = nil return t.x end\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_NE(result.err.find("attempt to index local 't'"), std::string::npos) << result.err;
  EXPECT_TRUE(result.err.ends_with(" | script/0.txt[3] f\n")) << result.err;
}

TEST(LuaErrors, ScriptFunctionArgumentsAndOutputsAreChecked) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "loadLua \"lua/a.lua\"\nfuncLua f, 1\nf 1, $1\n"}});
  game.write("lua/a.lua", "function f(x) return x end\n");
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.err, "Error: 数値変数が不正です | script/0.txt[3] f\n");
}

}  // namespace
}  // namespace vellum
