// The save commands answer the same in the native script, Lua and Squirrel: a comment through a
// slot, the protect flag toggling, existence, and a variable restored by loadSave (the line after
// the one that saved is not run again).
#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace vellum {
namespace {

struct BindingCase {
  const char* name;
  const char* script;
  const char* file;  // the script file it loads, loose in the game folder
  const char* code;
};

class SaveBindings : public ::testing::TestWithParam<BindingCase> {};

TEST_P(SaveBindings, CommentProtectExistAndLoad) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", GetParam().script}});
  if (*GetParam().file) game.write(GetParam().file, GetParam().code);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "a, b|1|0|1|0|7");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveBindings,
    ::testing::Values(
        BindingCase{"native",
                    "string c\nint p, q, e, f, n\nint g_v = 7\nsetSaveText \"a, b\"\nmakeSave\n"
                    "saveSave 3, 1\nif (%n == 1) goto *done\ncal %g_v = 1\nsetSaveText \"\"\n"
                    "loadSaveText 3, 1, $c\nsetSaveProtect 3, 5\ngetSaveProtect 3, %p\nsetSaveProtect 3, 5\n"
                    "getSaveProtect 3, %q\nexistSave 3, 1, %e\nexistSave 3, 0, %f\n"
                    "print $c, \"|\", %p, \"|\", %q, \"|\", %e, \"|\", %f, \"|\"\ncal %n = 1\nloadSave 3, 1\n"
                    "*done\nprint %g_v\n",
                    "", ""},
        BindingCase{"lua", "int g_v = 7\nloadLua \"lua/a.lua\"\nprint \"[again]\"\nprint %g_v\n", "lua/a.lua",
                    "setSaveText('a, b')\nmakeSave()\nsaveSave(3, 1)\nsetSaveText('')\n"
                    "local c = loadSaveText(3, 1)\nsetSaveProtect(3, 5)\nlocal p = getSaveProtect(3)\n"
                    "setSaveProtect(3, 5)\nlocal q = getSaveProtect(3)\n"
                    "print(c, '|', p, '|', q, '|', existSave(3, 1), '|', existSave(3, 0), '|')\nloadSave(3, 1)\n"},
        BindingCase{"squirrel", "int g_v = 7\nloadSqu \"squ/a.nut\"\nprint \"[again]\"\nprint %g_v\n", "squ/a.nut",
                    "setSaveText(\"a, b\");\nmakeSave();\nsaveSave(3, 1);\nsetSaveText(\"\");\n"
                    "local c = loadSaveText(3, 1);\nsetSaveProtect(3, 5);\nlocal p = getSaveProtect(3);\n"
                    "setSaveProtect(3, 5);\nlocal q = getSaveProtect(3);\n"
                    "print(c + \"|\" + p + \"|\" + q + \"|\" + existSave(3, 1) + \"|\" + existSave(3, 0) + \"|\");\n"
                    "loadSave(3, 1);\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
