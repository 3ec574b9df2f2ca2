// The parts of a path: splitPath directly, and the four functions in packed games.
#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "script/builtins/packed_game.h"
#include "script/builtins/path_parts.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct PartsCase {
  const char* path;
  const char* folder;
  const char* baseName;
  const char* extension;
};

class PathPartsSplit : public ::testing::TestWithParam<PartsCase> {};

TEST_P(PathPartsSplit, SplitAsTheSeparatorsSay) {
  const auto parts = splitPath(GetParam().path);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->folder, GetParam().folder);
  EXPECT_EQ(parts->baseName, GetParam().baseName);
  EXPECT_EQ(parts->extension, GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(Table, PathPartsSplit,
                         ::testing::Values(PartsCase{"a/b/c.tar.gz", "a/b/", "c.tar", ".gz"},
                                           PartsCase{"a\\b\\c.txt", "a\\b\\", "c", ".txt"},
                                           PartsCase{"a//b\\\\c", "a/b/", "c", ""},
                                           PartsCase{"a/b/", "a/", "b", ""},
                                           PartsCase{"/abs/x.png", "/abs/", "x", ".png"},
                                           PartsCase{"name", "", "name", ""},
                                           PartsCase{".hidden", "", "", ".hidden"},
                                           PartsCase{"dir.d/file", "dir.d/", "file", ""},
                                           PartsCase{"/", "/", "", ""},
                                           // ソ is 83 5C in Shift-JIS: its trail byte is no separator.
                                           PartsCase{"\x83\x5c\\x.txt", "\x83\x5c\\", "x", ".txt"}),
                         test::namedBy([](const PartsCase& c) { return c.path; }));

TEST(PathPartsSplit, EmptyPathHasNone) { EXPECT_FALSE(splitPath("")); }

class PathFunctions : public ::testing::TestWithParam<test::GameCase> {};

TEST_P(PathFunctions, PrintWhatTheScriptComputes) {
  const test::PackedGame game(GetParam().script);
  const auto result = game.run();
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathFunctions,
    ::testing::Values(
        test::GameCase{"parts", "string p = \"a/b/c.tar.gz\"\ngetParentFolderName $p, $1\ngetBaseName $p, $2\n"
                                "getExtensionName $p, $3\ngetFileName $p, $4\nprint $1, \"|\", $2, \"|\", $3, \"|\", $4\n",
                       "a/b/|c.tar|.gz|c.tar.gz"},
        test::GameCase{"double_byte_names", "getFileName \"图片\\背景.png\", $1\nprint $1\n", "背景.png"},
        test::GameCase{"empty_path_reports", "string o = \"kept\"\ngetBaseName \"\", $o\nprint $o\n", "kept",
                       "Error: 正常にパスが読み込めませんでした | script/0.txt[2] getBaseName\n"}),
    test::caseName);

}  // namespace
}  // namespace vellum
