// Where the Documents folder is on Linux.
#include <gtest/gtest.h>

#include <filesystem>

#include "persist/documents_folder.h"
#include "persist_fixture.h"

namespace vellum {
namespace {

struct UserDirsCase {
  const char* name;
  const char* text;
  const char* expected;
};

class UserDirs : public ::testing::TestWithParam<UserDirsCase> {};

TEST_P(UserDirs, GivesTheDocumentsEntry) {
  EXPECT_EQ(documentsFromUserDirs(GetParam().text, "/home/aya"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UserDirs,
    ::testing::Values(UserDirsCase{"home_relative", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/home/aya/Dokumente"},
                      UserDirsCase{"absolute", "XDG_DOCUMENTS_DIR=\"/data/docs/\"\n", "/data/docs"},
                      UserDirsCase{"comments_and_others",
                                   "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                   "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n",
                                   "/home/aya/文档"},
                      UserDirsCase{"commented_out", "#XDG_DOCUMENTS_DIR=\"$HOME/x\"\n", ""},
                      UserDirsCase{"relative_is_ignored", "XDG_DOCUMENTS_DIR=\"docs\"\n", ""},
                      UserDirsCase{"unquoted_is_ignored", "XDG_DOCUMENTS_DIR=$HOME/x\n", ""},
                      UserDirsCase{"later_line_wins", "XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"\n", "/home/aya/b"},
                      UserDirsCase{"home_itself", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/aya"}),
    [](const auto& info) { return std::string(info.param.name); });

class DocumentsFolder : public test::PersistTest {};

TEST_F(DocumentsFolder, UserDirsFileComesFirst) {
  home.write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  std::filesystem::create_directories(home / "Documents");
  EXPECT_EQ(documentsFolder(), home.path().string() + "/Papers");
}

TEST_F(DocumentsFolder, ThenTheDocumentsFolderWhenItExists) {
  EXPECT_EQ(documentsFolder(), home.path().string());
  std::filesystem::create_directories(home / "Documents");
  EXPECT_EQ(documentsFolder(), home.path().string() + "/Documents");
}

}  // namespace
}  // namespace vellum
