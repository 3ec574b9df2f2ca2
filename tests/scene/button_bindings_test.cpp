// A replayed click over a rectangle button reaches the event wait of each binding as the enter,
// press and release of that button.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/engine_process.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

struct BindingCase {
  const char* name;
  const char* script;
  const char* file;  // the script file it loads, loose in the game folder
  const char* code;
};

class ButtonBindings : public ::testing::TestWithParam<BindingCase> {};

TEST_P(ButtonBindings, AClickComesBackAsEnterPressAndRelease) {
  test::TempFolder game, runtime, output;
  std::ofstream(game / "save.dat");
  const std::string start = "loadSetting \"/Co/\", \"Game/\"\nscreen 320, 240, 320, 2\nsetBtnRect 3, 100, 200, 100, 150\n";
  test::writeScriptContainer(game, {{"script/0.txt", start + GetParam().script}});
  if (*GetParam().file) game.write(GetParam().file, GetParam().code);
  // The clicks come once the loop runs; the quit ends a game that missed them.
  std::ofstream(output / "input.txt") << "600 move 150 120\n650 press left\n700 release left\n5000 quit\n";
  test::EngineProcess engine({"--headless", "--game", game.path().string(), "--input", (output / "input.txt").string()},
                             {"XDG_RUNTIME_DIR=" + runtime.path().string()}, output.path());
  ASSERT_TRUE(engine.started());
  EXPECT_EQ(engine.waitForExit(10000), 0) << test::readFileBytes(output / "err");
  EXPECT_EQ(test::readFileBytes(output / "out"), "3,0,1;3,1,2;3,1,3;");
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonBindings,
    ::testing::Values(
        BindingCase{"native",
                    "int o\nint c\nint s\nint n\n*w\neventWait %o, %c, %s\nif (%o == 256) goto *w\n"
                    "print %o, \",\", %c, \",\", %s, \";\"\ncal %n = %n + 1\nif (%n < 3) goto *w\n",
                    "", ""},
        BindingCase{"lua", "loadLua \"lua/a.lua\"\n", "lua/a.lua",
                    "local n = 0\nwhile n < 3 do\n  local e = eventWait()\n"
                    "  if e[1] ~= 256 then print(e[1] .. ',' .. e[2] .. ',' .. e[3] .. ';') n = n + 1 end\nend\n"},
        BindingCase{"squirrel", "loadSqu \"squ/a.nut\"\n", "squ/a.nut",
                    "local n = 0;\nwhile (n < 3) {\n  local e = eventWaitPD();\n"
                    "  if (e[0] != 256) { print(e[0] + \",\" + e[1] + \",\" + e[2] + \";\"); n++; }\n}\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
