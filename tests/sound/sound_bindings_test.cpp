// The sound commands answer the same in the native script, Lua and Squirrel.
#include <gtest/gtest.h>

#include "sound/wav_files.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

struct BindingCase {
  const char* name;
  const char* script;
  const char* file;  // the script file it loads, loose in the game folder
  const char* code;
};

class SoundBindings : public ::testing::TestWithParam<BindingCase> {};

// Loaded but not played: stopped (2), 300 samples, the name kept; channel 40 is refused.
TEST_P(SoundBindings, LoadStatusTotalAndName) {
  test::TempFolder game;
  game.write("beep.wav", test::makeWav(std::vector<int16_t>(600, 5), 2, 22050));
  test::writeScriptContainer(game, {{"script/0.txt", GetParam().script}});
  if (*GetParam().file) game.write(GetParam().file, GetParam().code);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string());
  EXPECT_EQ(result.out, "2,300,13,beep.wav");
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SoundBindings,
    ::testing::Values(
        BindingCase{"native",
                    "string f\nint s\nint t\nint ms\nsd_create\nsd_load 3, \"beep.wav\"\nsd_status 3, %s\n"
                    "sd_totalSample 3, %t\nsd_totalTime 3, %ms\nsd_getFile 3, $f\nprint %s, \",\", %t, \",\", %ms, \",\", $f\n",
                    "", ""},
        BindingCase{"lua", "loadLua \"lua/a.lua\"\n", "lua/a.lua",
                    "sd_create()\nsd_load(3, 'beep.wav')\n"
                    "print(sd_status(3), ',', sd_totalSample(3), ',', sd_totalTime(3), ',', sd_getFile(3))\n"},
        BindingCase{"squirrel", "loadSqu \"squ/a.nut\"\n", "squ/a.nut",
                    "sd_create();\nsd_load(3, \"beep.wav\");\n"
                    "print(sd_status(3) + \",\" + sd_totalSample(3) + \",\" + sd_totalTime(3) + \",\" + sd_getFile(3));\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
