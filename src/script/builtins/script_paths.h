// Where the files a script names lie. A script path is GBK with '/' or '\' separators; a relative
// one is under the game folder, an absolute one (the user-data folder is written that way) is used
// as it is, like the loader's loose files.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

std::string scriptPathToFileSystem(std::string_view path);

// Starts with a separator or holds a drive colon: used as it is, not under the game folder.
bool isAbsoluteScriptPath(std::string_view path);

// A path a file can be written to: not empty, no NUL byte, not ending in a separator. Reports
// "正常にパスが読み込めませんでした" otherwise.
bool checkWritablePath(std::string_view path);

// Creates every missing folder above the file. Reports "フォルダを作成出来ませんでした" on failure.
bool createFoldersFor(const std::string& fileSystemPath);

}  // namespace vellum
