// The service commands in packed games run headless: downloads, the shell, file tests, boxes and
// the argument checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "persist/persist_fixture.h"
#include "script/builtins/packed_game.h"
#include "support/kept_environment.h"
#include "support/local_http_server.h"
#include "support/wait_until.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;
using test::GameCase;
using test::LocalHttpServer;
using test::PackedGame;

class ServiceCommands : public ::testing::TestWithParam<GameCase> {};

TEST_P(ServiceCommands, PrintWhatTheScriptSees) { test::expectGameCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Table, ServiceCommands,
    ::testing::Values(
        GameCase{"fixed_answers", "int w\nint l\nint r\nstring d\ngetWin64 %w\nliveUnity %l\nreleaseUnity %r\ngetCurrentDirectory $d\n"
                                  "print %w, \"|\", %l, \"|\", %r, \"|\", $d, \"|\"\n",
                 "0|0|1||"},
        GameCase{"system_message_does_nothing", "systemMessage 1, \"x\"\nprint \"on\"\n", "on"},
        GameCase{"network_answer_is_a_flag", "int n\nisNetworkAlive %n\nif (%n == 0 || %n == 1) print \"flag\"\n",
                 "flag"},
        GameCase{"network_needs_a_number_variable", "string n\nisNetworkAlive $n\n", "",
                 "Error: 第一引数の数値変数が不正です | script/0.txt[2] isNetworkAlive\n"},
        GameCase{"network_needs_one_argument", "int a\nint b\nisNetworkAlive %a, %b\n", "",
                 "Error: 引数の数が不正です | script/0.txt[3] isNetworkAlive\n"},
        GameCase{"download_ftp_is_empty", "string s = \"kept\"\nfileDownload \"ftp://127.0.0.1:1/x\", $s\n"
                                          "print \"[\", $s, \"]\"\n",
                 "[]"},
        GameCase{"download_checks_count", "fileDownload \"http://127.0.0.1:1/\"\n", "",
                 "Error: 引数の数が不正です | script/0.txt[1] fileDownload\n"},
        GameCase{"download_checks_url", "string s\nfileDownload 5, $s\n", "",
                 "Error: 第一引数が文字列ではありません | script/0.txt[2] fileDownload\n"},
        GameCase{"download_checks_variable", "int s\nfileDownload \"http://127.0.0.1:1/\", %s\n", "",
                 "Error: 第二引数の文字列変数が不正です | script/0.txt[2] fileDownload\n"},
        GameCase{"shell_needs_three", "shellExecute \"x\", \"y\"\n", "",
                 "Error: 引数の数が不正です | script/0.txt[1] shellExecute\n"},
        GameCase{"shell_second_string", "int r\nshellExecute \"x\", 3, %r\n", "",
                 "Error: 第二引数が文字列ではありません | script/0.txt[2] shellExecute\n"},
        GameCase{"shell_third_number_variable", "string r\nshellExecute \"x\", \"y\", $r\n", "",
                 "Error: 第三引数の数値変数が不正です | script/0.txt[2] shellExecute\n"},
        GameCase{"shell_missing_file", "int r\nshellExecute \"no/such/file.txt\", \"\", %r\nprint %r\n", "2"},
        GameCase{"unity_never_starts", "int r\nexecuteUnity \"player\", \"-x\", %r\nprint %r\n", "0",
                 "Error: Unity HANDLE\n"},
        GameCase{"clipboard_without_window", "setClipboard \"text\"\nprint \"on\"\n", "on"},
        GameCase{"find_text_opens_quietly", "findText\nfindText\nprint \"on\"\n", "on"}),
    test::caseName);

TEST(ServiceCommandsFiles, ExistFile2SeesArchivesAndLooseFilesButNotFolders) {
  PackedGame game("int a\nint b\nint c\nint d\nint e\nint f\nexistFile2 \"packed/a.txt\", %a\nexistFile2 \"packed\\a.txt\", %b\n"
                  "existFile2 \"loose.txt\", %c\nexistFile2 \"folder\", %d\nexistFile2 \"missing.txt\", %e\n"
                  "existFile2 \"\", %f\nprint %a, %b, %c, %d, %e, %f\n");
  game.archived("packed/a.txt", "inside");
  game.file("loose.txt", "beside");
  game.file("folder/inner.txt", "x");
  const auto result = game.run();
  EXPECT_EQ(result.out, "111000");
  EXPECT_EQ(result.err, "");
}

TEST(ServiceCommandsBoxes, ConfirmShowsNumbersAndTakesTheAnswer) {
  PackedGame game("int a\nint b\nconfirm 3, %a\nconfirm \"再来一次？\", %b\ninform 42\nprint %a, %b\n");
  const auto result = game.run("scramble", "--answers no,yes");
  EXPECT_EQ(result.out, "01");
  EXPECT_NE(result.err.find("Confirm: 3 [yes/no]\nConfirm: answer no\n"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Confirm: 再来一次？ [yes/no]\nConfirm: answer yes\n"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("42"), std::string::npos) << result.err;
}

TEST(ServiceCommandsDownload, TheBodyReachesTheVariable) {
  LocalHttpServer server;
  server.answer("/news.txt", LocalHttpServer::response("Content-Length: 11\r\n", "hello world"));
  server.answer("/short", LocalHttpServer::response("Content-Length: 50\r\n", "cut"));
  PackedGame game("string a\nfileDownload \"" + server.url("/news.txt") + "\", $a\nstring b = \"kept\"\nfileDownload \"" +
                  server.url("/short") + "\", $b\nprint $a, \"|\", $b, \"|\"\n");
  const auto result = game.run();
  EXPECT_EQ(result.out, "hello world||");
  EXPECT_EQ(result.err, "");
}

TEST(ServiceCommandsDownload, WithoutLibcurlTheGameGoesOnAndTheReportSaysWhy) {
  // The engine opens libcurl at the first download; here the loader finds a damaged one first.
  LocalHttpServer server;
  server.answer("/news.txt", LocalHttpServer::response("Content-Length: 11\r\n", "hello world"));
  test::TempFolder libraries;
  libraries.write("libcurl.so.4", "not a library");
  test::KeptEnvironment kept("LD_LIBRARY_PATH");
  setenv("LD_LIBRARY_PATH", libraries.path().c_str(), 1);
  PackedGame game("string a = \"kept\"\nfileDownload \"" + server.url("/news.txt") +
                  "\", $a\nprint \"[\", $a, \"]\"\n");
  const auto result = game.run();
  EXPECT_EQ(result.out, "[]");
  EXPECT_NE(result.err.find("libcurl を読み込めないため、ファイルをダウンロードできません ("), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("file too short"), std::string::npos) << "the loader's reason: " << result.err;
  EXPECT_EQ(result.exitCode, 0);
}

// What a started program writes into the file, once it holds the expected text (or what it holds
// when a generous deadline passes): the program may still be writing when the file appears.
std::string awaitFile(const fs::path& path, const std::string& expected) {
  std::string text = "(never written)";
  test::waitUntil([&] {
    if (fs::exists(path)) text = test::readFileBytes(path);
    return text == expected;
  });
  return text;
}

TEST(ServiceCommandsShell, ParametersAreOneLiteralArgument) {
  PackedGame game("int r\nshellExecute \"args.sh\", \"; rm -rf x\", %r\nprint %r\n");
  game.file("args.sh", "#!/bin/sh\ncd \"$(dirname \"$0\")\"\nprintf '%s\\n' \"$#\" \"$@\" > seen.txt\n");
  game.file("x/keep.txt", "still here");
  fs::permissions(game.folder() / "args.sh", fs::perms::owner_all);
  const auto result = game.run();
  EXPECT_EQ(result.out, "33");
  EXPECT_EQ(awaitFile(game.folder() / "seen.txt", "1\n; rm -rf x\n"), "1\n; rm -rf x\n");
  EXPECT_TRUE(game.exists("x/keep.txt"));
}

TEST(ServiceCommandsShell, DocumentsAndAddressesGoToTheDesktopOpener) {
  test::TempFolder bin;
  const fs::path log = bin / "opened.txt";
  bin.write("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + log.string() + "'\n");
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  test::ScopedEnvironment path("PATH", bin.path().string() + ":/usr/bin:/bin");
  PackedGame game("int r\nint s\nshellExecute \"https://example.org/a?b=1;c\", \"ignored\", %r\nprint %r\n"
                  "shellExecute \"manual.txt\", \"\", %s\nprint %s\n");
  game.file("manual.txt", "read me");
  const auto result = game.run();
  EXPECT_EQ(result.out, "3333");
  // Both reach the opener; the order of two detached children is not fixed.
  std::string opened;
  test::waitUntil([&] {
    opened = fs::exists(log) ? test::readFileBytes(log) : "";
    return std::count(opened.begin(), opened.end(), '\n') >= 2;
  });
  EXPECT_NE(opened.find("https://example.org/a?b=1;c\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find((game.folder() / "manual.txt").string() + "\n"), std::string::npos) << opened;
}

}  // namespace
}  // namespace vellum
