// existFile, deleteFile, copyFile, moveFile, loadFile and saveFile in packed games.
#include <gtest/gtest.h>

#include <filesystem>

#include "script/builtins/packed_game.h"

namespace vellum {
namespace {

TEST(FileFunctions, ExistFileLooksInTheArchivesAndTheGameFolder) {
  const test::PackedGame game(
      "existFile \"loose.txt\", %1\nexistFile \"data\\\\in.txt\", %2\nexistFile \"packed.txt\", %3\n"
      "existFile \"missing.txt\", %4\nexistFile \"data\", %5\nexistFile \"\", %6\n"
      "print %1, %2, %3, %4, %5, %6\n");
  game.file("loose.txt", "x");
  game.file("data/in.txt", "y");
  game.archived("packed.txt", "z");
  const auto result = game.run();
  EXPECT_EQ(result.out, "111000");
  EXPECT_EQ(result.err, "");
}

TEST(FileFunctions, DeleteFileGivesTheResult) {
  const test::PackedGame game("deleteFile \"a.txt\", %1\ndeleteFile \"a.txt\", %2\nprint %1, %2\n");
  game.file("a.txt", "x");
  EXPECT_EQ(game.run().out, "10");
  EXPECT_FALSE(game.exists("a.txt"));
}

TEST(FileFunctions, CopyAndMoveCreateTheDestinationFolders) {
  const test::PackedGame game(
      "copyFile \"a.txt\", \"one/two/b.txt\", %1\nmoveFile \"a.txt\", \"三/c.txt\", %2\n"
      "copyFile \"missing.txt\", \"d.txt\", %3\nprint %1, %2, %3\n");
  game.file("a.txt", "payload");
  const auto result = game.run();
  EXPECT_EQ(result.out, "110");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(game.read("one/two/b.txt"), "payload");
  EXPECT_EQ(game.read("三/c.txt"), "payload");
  EXPECT_FALSE(game.exists("a.txt"));
}

TEST(FileFunctions, CopyReportsWhenTheFolderCannotBeMade) {
  const test::PackedGame game("copyFile \"a.txt\", \"a.txt/b.txt\", %1\nprint %1\n");
  game.file("a.txt", "x");
  const auto result = game.run();
  EXPECT_EQ(result.out, "0");
  EXPECT_EQ(result.err, "Error: フォルダを作成出来ませんでした | script/0.txt[1] copyFile\n");
}

TEST(FileFunctions, CopyReportsAPathWithoutAName) {
  const test::PackedGame game("copyFile \"a.txt\", \"dir/\", %1\nprint %1\n");
  game.file("a.txt", "x");
  const auto result = game.run();
  EXPECT_EQ(result.out, "0");
  EXPECT_EQ(result.err, "Error: 正常にパスが読み込めませんでした | script/0.txt[1] copyFile\n");
}

TEST(FileFunctions, LoadFileReadsLooseAndArchivedFiles) {
  for (const char* mode : {"scramble", "plain"}) {
    const test::PackedGame game("loadFile \"loose.txt\", $1\nloadFile \"data/packed.txt\", $2\nprint $1, \"|\", $2\n");
    game.file("loose.txt", "plain text");
    game.archived("data/packed.txt", "scrambled with its path, then read back");
    const auto result = game.run(mode);
    EXPECT_EQ(result.out, "plain text|scrambled with its path, then read back") << mode;
    EXPECT_EQ(result.err, "") << mode;
  }
}

TEST(FileFunctions, LoadFileOfAMissingFileReportsAndKeepsTheVariable) {
  const test::PackedGame game("string s = \"kept\"\nloadFile \"missing.txt\", $s\nprint $s\n");
  const auto result = game.run();
  EXPECT_EQ(result.out, "kept");
  EXPECT_NE(result.err, "");
}

TEST(FileFunctions, SaveFileWritesTheBytesAndCreatesFolders) {
  const test::PackedGame game("saveFile \"save/数据/a.txt\", \"你好\"\nsaveFile \"b.txt\", \"\"\nprint \"ok\"\n");
  const auto result = game.run();
  EXPECT_EQ(result.out, "ok");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(game.read("save/数据/a.txt"), test::gbk("你好"));
  EXPECT_TRUE(game.exists("b.txt"));
}

TEST(FileFunctions, SaveFileReportsAnOpenFailureWithTheErrorText) {
  const test::PackedGame game("saveFile \"sub\", \"x\"\n");
  std::filesystem::create_directories(game.folder() / "sub");
  EXPECT_EQ(game.run().err, "Error: sub Is a directory | script/0.txt[1] saveFile\n");
}

TEST(FileFunctions, SaveFileReportsWhenTheFolderCannotBeMade) {
  const test::PackedGame game("saveFile \"f/x.txt\", \"x\"\n");
  game.file("f", "a file where the folder should be");
  EXPECT_EQ(game.run().err, "Error: フォルダを作成出来ませんでした | script/0.txt[1] saveFile\n");
}

TEST(FileFunctions, AbsolutePathsAreUsedAsTheyAre) {
  test::TempFolder elsewhere;
  const test::PackedGame game(
      "string d\ngetArg 0, $d\nsaveFile $d + \"/user/x.txt\", \"data\"\nexistFile $d + \"/user/x.txt\", %1\nprint %1\n");
  const auto result = game.run("scramble", elsewhere.path().string());
  EXPECT_EQ(result.out, "1");
  EXPECT_EQ(test::readFileBytes(elsewhere / "user/x.txt"), "data");
}

}  // namespace
}  // namespace vellum
