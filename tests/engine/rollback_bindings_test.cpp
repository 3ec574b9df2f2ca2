// Rolling back answers the same in the native script, Lua and Squirrel: three pages in a
// subroutine, then the language asks how far back it can go, is refused one page too far, and goes
// two pages back. The second page is shown again with its g_ variable as it was, still inside the
// subroutine (which returns as usual); `shown`, not a g_ variable, keeps its value (a rollback
// restores what a load restores).
#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace vellum {
namespace {

struct RollbackCase {
  const char* name;
  const char* loader;  // the lines that make `back` a command
  const char* file;    // the script file it loads, loose in the game folder
  const char* code;
};

class RollbackBindings : public ::testing::TestWithParam<RollbackCase> {};

TEST_P(RollbackBindings, CountGoBackAndRefuse) {
  const std::string script = std::string("int g_page\nint shown\nint rolled\nint n\n") +
                             "rollback 1\nsetRollback 5000\nsetRollback 2\n" + GetParam().loader +
                             "gosub *pages\nprint \"[page \", %g_page, \", shown \", %shown, \"]\"\nend\n"
                             "*pages\n"
                             "cal %g_page += 1, %shown += 1\n" + test::gbk("一。\n\n") +
                             "cal %g_page += 1, %shown += 1\n" + test::gbk("二。\n\n") +
                             "cal %g_page += 1, %shown += 1\n" + test::gbk("三。\n\n") +
                             "if (%rolled == 1) return\ncal %rolled = 1\nback\nreturn\n"
                             "*back\ngetRollback %n\nprint \"[back \", %n, \"]\"\nrollback 3\nrollback 2\nreturn\n";
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", script}});
  if (*GetParam().file) game.write(GetParam().file, GetParam().code);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  // Headless story lines are UTF-8. Back at the second page, its g_page is 2 again; `shown` went
  // on from 3 (restored, it would be 2 and end at 3).
  EXPECT_EQ(result.out, "一。\n二。\n三。\n[back 2]二。\n三。\n[page 3, shown 4]");
  EXPECT_NE(result.err.find("rollback 1: rolling back is off (setRollback DEPTH turns it on)"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("setRollback 5000: the depth must be 0 (off) to 1000 pages"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("rollback 3: only 2 pages back can be rolled back to"), std::string::npos) << result.err;
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RollbackBindings,
    ::testing::Values(RollbackCase{"native", "defsub back\n", "", ""},
                      RollbackCase{"lua", "loadLua \"lua/a.lua\"\nfuncLua back, 0\n", "lua/a.lua",
                                   "function back()\n  print('[back ' .. getRollback() .. ']')\n"
                                   "  rollback(3)\n  rollback(2)\nend\n"},
                      RollbackCase{"squirrel", "loadSqu \"squ/a.nut\"\nfuncSqu back, 0\n", "squ/a.nut",
                                   "function back() {\n  print(\"[back \" + getRollback() + \"]\");\n"
                                   "  rollback(3);\n  rollback(2);\n}\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
