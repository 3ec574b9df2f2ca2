// vellum-lint end to end: broken game sources in, each report exactly as an editor or CI reads it,
// and the exit status that says whether there was an error.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "support/game_builder.h"
#include "support/temp_folder.h"

namespace vellum {
namespace {

struct LintCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> files;  // relative path, UTF-8 text
  std::string reports;  // what vellum-lint prints, the game folder written as game/
  int exitCode;
};

// Writes the files into game/ of the folder and runs vellum-lint over it; the folder's place on
// disk is taken out of the reports, so they read the same on every machine.
using LintFiles = std::vector<std::pair<std::string, std::string>>;

test::ProcessResult lintFiles(const test::TempFolder& folder, const LintFiles& files, const std::string& options) {
  for (const auto& [path, text] : files) folder.write("game/" + path, text);
  test::ProcessResult result = test::runTool("vellum-lint", "'" + (folder / "game").string() + "' " + options);
  const std::string prefix = folder.path().string() + "/";
  for (size_t at = result.out.find(prefix); at != std::string::npos; at = result.out.find(prefix, at))
    result.out.erase(at, prefix.size());
  return result;
}

const std::vector<LintCase> kLintCases = {
    {"a game without faults passes with nothing to say",
     {{"data/bg.png",
       "x"},
      {"script/0.txt",
       "*start\n"
       "int gold = 10\n"
       "sp 1, \"bg.png\", 0, 0\n"
       "setMessLine 0, 2\n"
       "sufMessGosub \"*wait\"\n"
       "gosub *shop\n"
       "「欢迎。」\n"
       "\n"
       "end\n"
       "\n"
       "*shop\n"
       "cal %gold += 5\n"
       "return\n"
       "\n"
       "*wait\n"
       "return\n"}},
     "",
     0},
    {"bad and duplicate labels, and a label inside a message block",
     {{"script/0.txt",
       "*start\n"
       "*start\n"
       "*bad-name\n"
       "end\n"},
      {"script/1.txt",
       "*start\n"
       "「文字」\n"
       "*inside\n"}},
     "game/script/0.txt:2:1: error: label *start is already defined at game/script/0.txt:1; start-up would stop with \"ラベルが重複しています\" (duplicate label)\n"
     "game/script/0.txt:3:5: error: '-' may not be in a label name (ASCII letters, digits, '_', '.', '@' and double-byte characters may); start-up would stop with \"ラベル名が不正です\" (invalid label name)\n"
     "game/script/1.txt:1:1: error: label *start is already defined at game/script/0.txt:1; start-up would stop with \"ラベルが重複しています\" (duplicate label)\n"
     "game/script/1.txt:3:1: warning: '*inside' is inside the message block that starts at line 2 (a block runs to the next empty line), so it is story text, not a label; put an empty line before it\n",
     1},
    {"jump targets that name no label or script line",
     {{"script/0.txt",
       "goto *nowhere\n"
       "*a\n"
       "gosub \"*a\"\n"
       "goto $target\n"
       "defsub voice\n"
       "fileJump \"script/0.txt\", 99\n"
       "fileJump \"script/2.txt\", 1\n"
       "preMessGosub \"*msg\"\n"
       "end\n"}},
     "game/script/0.txt:1:6: error: goto: no label *nowhere; the engine reports \"ラベルが存在しません\" (no such label) when the line runs\n"
     "game/script/0.txt:4:6: note: goto: the target '$target' is computed and cannot be checked\n"
     "game/script/0.txt:4:6: error: $target is not declared anywhere; declare it with string target; the engine reports \"変数が存在しません\" (no such variable) when the line runs\n"
     "game/script/0.txt:5:1: warning: this line is never reached: line 4 always leaves with goto and no label comes between\n"
     "game/script/0.txt:5:8: error: defsub voice: no label *voice for the command to run; the engine reports \"ラベルが存在しません\" (no such label) when the line runs\n"
     "game/script/0.txt:6:26: error: fileJump: script/0.txt has lines 1 to 9, not 99\n"
     "game/script/0.txt:7:10: error: fileJump: no script script/2.txt (script files are named script/NAME as packed)\n"
     "game/script/0.txt:8:1: warning: a message subroutine is set, but no message ever waits, so every page runs on without waiting for the player: no setMessLine sets a wait (its first argument waits at each line end, its second at each empty line; 0, 0 is the default and never waits) and no story text has an inline '@' or '\\' wait; add, for example, setMessLine 0, 2\n"
     "game/script/0.txt:8:14: error: preMessGosub: no label *msg; the engine reports \"ラベルが存在しません\" (no such label) when the line runs\n",
     1},
    {"unknown commands, story text read as commands, argument counts",
     {{"data/bg.png",
       "x"},
      {"script/0.txt",
       "*start\n"
       "sp_xyz 10, 5\n"
       "Hello there, traveller.\n"
       "Irene: Good morning.\n"
       "sp 1, \"bg.png\", 0, 0, 7\n"
       "sd_stop\n"
       "defsub voice\n"
       "voice \"a.ogg\", 1\n"
       "funcLua remember, 0\n"
       "remember 1\n"
       "The ferry is late.\n"
       "end\n"
       "*voice\n"
       "return\n"}},
     "game/script/0.txt:2:1: error: unknown command 'sp_xyz'; the engine reports \"这是未对应的命令\" (unknown command) when the line runs\n"
     "game/script/0.txt:3:1: error: this reads like story text, but a line that starts with an ASCII letter is a command line: 'Hello' is taken for a command; the engine reports \"这是未对应的命令\" (unknown command) when the line runs, and a ':' would split the line; begin story text with a character that is not an ASCII letter\n"
     "game/script/0.txt:4:1: error: this reads like story text, but a line that starts with an ASCII letter is a command line: 'Irene' is taken for a command; the engine reports \"这是未对应的命令\" (unknown command) when the line runs, and a ':' would split the line; begin story text with a character that is not an ASCII letter\n"
     "game/script/0.txt:5:1: error: sp takes 4 arguments, not 5\n"
     "game/script/0.txt:6:1: error: sd_stop takes 3 arguments, not 0\n"
     "game/script/0.txt:11:1: error: this reads like story text, but a line that starts with an ASCII letter is a command line: 'The' is taken for a command; the engine reports \"这是未对应的命令\" (unknown command) when the line runs, and a ':' would split the line; begin story text with a character that is not an ASCII letter\n",
     1},
    {"named variables nothing declares",
     {{"data/a.lua",
       "newScriptInteger(\"from_lua\")\n"},
      {"script/0.txt",
       "*start\n"
       "int gold\n"
       "cal %gold = %gold % 3 + %silver\n"
       "print $name, %0, $1\n"
       "getParam %arg\n"
       "cal %arg = %from_lua\n"
       "end\n"}},
     "game/script/0.txt:3:25: error: %silver is not declared anywhere; declare it with int silver; the engine reports \"変数が存在しません\" (no such variable) when the line runs\n"
     "game/script/0.txt:4:7: error: $name is not declared anywhere; declare it with string name; the engine reports \"変数が存在しません\" (no such variable) when the line runs\n",
     1},
    {"a named variable used before a run reaches its declaration",
     {{"script/0.txt",
       "*start\n"
       "cal %gold = 1\n"
       "gosub *declare\n"
       "cal %gold += 1\n"
       "end\n"
       "\n"
       "*declare\n"
       "int gold\n"
       "return\n"}},
     "game/script/0.txt:2:5: warning: %gold is used before a run reaches its declaration (int gold at "
     "game/script/0.txt:8); declare it earlier\n",
     0},
    {"missing file names and names in another case",
     {{"data/bg.png",
       "x"},
      {"data/music/theme.ogg",
       "x"},
      {"script/0.txt",
       "sp 1, \"Bg.png\", 0, 0\n"
       "sp 2, \"missing.png\", 0, 0\n"
       "sd 1, \"music/theme.ogg\", 0, 0, 100, 0, 0, 0\n"
       "effect 3, 500, 0, \"rule.png\", 0\n"
       "effect 2, 500, 0, \"FadeIn\", 0\n"
       "sp 3, $picture, 0, 0\n"
       "sp 4, \"bg.png?shade.png\", 0, 0\n"
       "end\n"}},
     "game/script/0.txt:1:7: error: picture \"Bg.png\" is there only as \"bg.png\"; names are case-sensitive on Linux\n"
     "game/script/0.txt:2:7: error: picture \"missing.png\" is in no data folder and no packed game; the engine would report it as missing when the line runs\n"
     "game/script/0.txt:4:19: error: rule picture \"rule.png\" is in no data folder and no packed game; the engine would report it as missing when the line runs\n"
     "game/script/0.txt:6:7: error: $picture is not declared anywhere; declare it with string picture; the engine reports \"変数が存在しません\" (no such variable) when the line runs\n"
     "game/script/0.txt:7:7: error: mask picture \"shade.png\" is in no data folder and no packed game; the engine would report it as missing when the line runs\n",
     1},
    {"characters the code page cannot hold",
     {{"script/0.txt",
       "「早上好😀」\n"
       "\n"
       "print \"₩ok\"\n"
       "end\n"}},
     "game/script/0.txt:1:5: error: '😀' (U+1F600) has no form in the game's code page (GBK); the packer writes '?' instead\n"
     "game/script/0.txt:3:8: error: '₩' (U+20A9) has no form in the game's code page (GBK); the packer writes '?' instead\n",
     1},
    {"Lua and Squirrel files that do not compile",
     {{"data/broken.lua",
       "local x = 1\n"
       "if x then\n"},
      {"data/broken.nut",
       "function f() {\n"
       "  return 1 +;\n"
       "}\n"},
      {"script/0.txt",
       "loadLua \"broken.lua\"\n"
       "loadSqu \"broken.nut\"\n"
       "end\n"}},
     "game/data/broken.lua:3: error: Lua: 'end' expected (to close 'if' at line 2) near <eof>\n"
     "game/data/broken.nut:2:13: error: Squirrel: expected expression but found ';'\n",
     1},
    {"lines no jump reaches",
     {{"script/0.txt",
       "*start\n"
       "goto *next\n"
       "print \"lost\"\n"
       "\n"
       "*next\n"
       "if (%0 == 0) goto *start\n"
       "print \"reached\"\n"
       "return\n"
       "; a comment line is story text\n"
       "*end\n"
       "end\n"}},
     "game/script/0.txt:3:1: warning: this line is never reached: line 2 always leaves with goto and no label comes between\n"
     "game/script/0.txt:9:1: warning: this line is never reached: line 8 always leaves with return and no label comes between\n"
     "game/script/0.txt:10:1: warning: '*end' is inside the message block that starts at line 9 (a block runs to the next empty line), so it is story text, not a label; put an empty line before it\n",
     0},
    {"a message subroutine with no wait set",
     {{"script/0.txt",
       "sufMessGosub \"*wait\"\n"
       "「没有等待」\n"
       "\n"
       "end\n"
       "*wait\n"
       "return\n"}},
     "game/script/0.txt:1:1: warning: a message subroutine is set, but no message ever waits, so every page runs on without waiting for the player: no setMessLine sets a wait (its first argument waits at each line end, its second at each empty line; 0, 0 is the default and never waits) and no story text has an inline '@' or '\\' wait; add, for example, setMessLine 0, 2\n",
     0},
};

class LintTool : public ::testing::TestWithParam<LintCase> {};

TEST_P(LintTool, ReportsEachProblemWhereItIs) {
  const LintCase& c = GetParam();
  test::TempFolder folder;
  const test::ProcessResult result = lintFiles(folder, c.files, "--from-utf8");
  EXPECT_EQ(result.out, c.reports);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(Sources, LintTool, ::testing::ValuesIn(kLintCases),
                         [](const ::testing::TestParamInfo<LintCase>& info) {
                           std::string name;  // the sentence in CamelCase
                           bool upper = true;
                           for (const char c : info.param.name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) {
                               upper = true;
                             } else {
                               name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
                               upper = false;
                             }
                           }
                           return name;
                         });

TEST(LintToolForms, JsonListsTheSameReportsForTools) {
  test::TempFolder folder;
  const test::ProcessResult result =
      lintFiles(folder, {{"script/0.txt", "goto *nowhere\n"}, {"data/a.lua", "x = \n"}}, "--json");
  EXPECT_EQ(result.out,
            "[\n"
            " {\"file\": \"game/data/a.lua\", \"line\": 2, \"column\": 0, \"severity\": \"error\", \"message\": "
            "\"Lua: unexpected symbol near <eof>\"},\n"
            " {\"file\": \"game/script/0.txt\", \"line\": 1, \"column\": 6, \"severity\": \"error\", \"message\": "
            "\"goto: no label *nowhere; the engine reports \\\"ラベルが存在しません\\\" (no such label) when the line "
            "runs\"}\n"
            "]\n");
  EXPECT_EQ(result.exitCode, 1);
}

TEST(LintToolForms, FilesMayLieInAnotherDataFolder) {
  test::TempFolder folder;
  folder.write("made/pictures/bg.png", "x");
  const LintFiles files = {{"script/0.txt", "sp 1, \"pictures/bg.png\", 0, 0\nend\n"}};
  EXPECT_EQ(lintFiles(folder, files, "").exitCode, 1);
  const test::ProcessResult result = lintFiles(folder, files, "--data '" + (folder / "made").string() + "'");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitCode, 0);
}

TEST(LintToolForms, WithoutScriptsOrWithABadOptionItCannotCheck) {
  test::TempFolder folder;
  folder.write("empty/readme.txt", "no scripts here");
  const test::ProcessResult noScripts = test::runTool("vellum-lint", "'" + (folder / "empty").string() + "'");
  EXPECT_EQ(noScripts.exitCode, 2);
  EXPECT_NE(noScripts.err.find("not a folder"), std::string::npos) << noScripts.err;
  const test::ProcessResult badOption = test::runTool("vellum-lint", "--fix");
  EXPECT_EQ(badOption.exitCode, 2);
  EXPECT_NE(badOption.err.find("unknown option --fix"), std::string::npos) << badOption.err;
}

}  // namespace
}  // namespace vellum
