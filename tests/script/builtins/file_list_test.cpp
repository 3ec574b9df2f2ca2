// setFileList and getFileList in packed games, and the wildcard matcher.
#include <gtest/gtest.h>

#include <string>

#include "script/builtins/packed_game.h"
#include "script/builtins/wildcard.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class Wildcard : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcard, MatchesAsFileSearchesDo) {
  EXPECT_EQ(wildcardMatches(GetParam().pattern, GetParam().name), GetParam().matches)
      << GetParam().pattern << " " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, Wildcard,
                         ::testing::Values(WildcardCase{"*.png", "a.png", true}, WildcardCase{"*.png", "a.PNG", true},
                                           WildcardCase{"*.png", "a.png.bak", false}, WildcardCase{"*.*", "noext", true},
                                           WildcardCase{"*", "", true}, WildcardCase{"a?c", "abc", true},
                                           WildcardCase{"a?c", "ac", false}, WildcardCase{"*b*", "aaa", false},
                                           WildcardCase{"*a*b", "xaxb", true}, WildcardCase{"bg*", "BG01.jpg", true},
                                           // 俠 is 82 62 in GBK: '?' takes it whole, 'b' is not its trail.
                                           WildcardCase{"?", "\x82\x62", true}, WildcardCase{"*b", "\x82\x62", false}),
                         test::namedBy([](const WildcardCase& c) { return std::string(c.pattern) + " on " + c.name; }));

// Lists every name with getFileList, one per line.
std::string listing(const std::string& setCommands) {
  return "int n\n" + setCommands + "for %1, 0, %n - 1\nstring s\ngetFileList $s, %1\nprint $s, \"\\n\"\nnext\n";
}

struct ListingCase {
  const char* name;
  const char* commands;
  const char* out;
  const char* err = "";
};

class FileListing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(FileListing, ListsAndSortsAsTheFlagsSay) {
  const test::PackedGame game(listing(GetParam().commands));
  for (const char* name : {"cg/b.png", "cg/A.png", "cg/c.jpg", "cg/.hidden.png", "cg/sub/d.png", "cg/sub/deeper/E.png",
                           "cg/.dot/f.png", "other/z.png"}) {
    game.file(name, "x");
  }
  const auto result = game.run();
  EXPECT_EQ(result.out, GetParam().out);
  EXPECT_EQ(result.err, GetParam().err);
}

// A trailing "\n" in a script string is two characters; print shows them as they are.
INSTANTIATE_TEST_SUITE_P(
    Table, FileListing,
    ::testing::Values(
        ListingCase{"folder_files_sorted", "setFileList \"cg\", \"*.png\", 0, %n\n", "cg/A.png\\ncg/b.png\\n"},
        ListingCase{"folder_with_separator", "setFileList \"cg/\", \"*\", 0, %n\n",
                    "cg/A.png\\ncg/b.png\\ncg/c.jpg\\n"},
        ListingCase{"backslash_folder", "setFileList \"cg\\sub\", \"*\", 0, %n\n", "cg\\sub\\d.png\\n"},
        ListingCase{"subfolders", "setFileList \"cg\", \"*.png\", 1, %n\n",
                    "cg/A.png\\ncg/b.png\\ncg/sub/d.png\\ncg/sub/deeper/E.png\\n"},
        ListingCase{"descending", "setFileList \"cg\", \"*.png\", 3, %n\n",
                    "cg/sub/deeper/E.png\\ncg/sub/d.png\\ncg/b.png\\ncg/A.png\\n"},
        ListingCase{"folded", "setFileList \"cg/sub\", \"*.png\", 5, %n\n", "cg/sub/d.png\\ncg/sub/deeper/E.png\\n"},
        ListingCase{"append", "setFileList \"other\", \"*\", 0, %n\nsetFileList \"cg\", \"*.jpg\", 8, %n\n",
                    "other/z.png\\ncg/c.jpg\\n"},
        ListingCase{"replace", "setFileList \"other\", \"*\", 0, %n\nsetFileList \"cg\", \"*.jpg\", 0, %n\n",
                    "cg/c.jpg\\n"},
        ListingCase{"missing_folder_is_empty", "setFileList \"nowhere\", \"*\", 0, %n\nprint %n\n", "0"},
        ListingCase{"index_outside_the_list", "getFileList $1, 0\n", "",
                    "Error: リストの範囲を超えています | script/0.txt[2] getFileList\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileListing, EmptyFolderMeansTheGameFolder) {
  const test::PackedGame game("int n\nsetFileList \"\", \"*.txt\", 0, %n\nstring s\ngetFileList $s, 0\nprint %n, $s\n");
  game.file("a.txt", "x");
  EXPECT_EQ(game.run().out, "1./a.txt");
}

}  // namespace
}  // namespace vellum
