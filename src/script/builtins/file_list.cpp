#include "script/builtins/file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "base/text_encoding.h"
#include "script/builtins/path_parts.h"
#include "script/builtins/script_paths.h"
#include "script/builtins/wildcard.h"

namespace vellum {

namespace {

// Folders nested deeper than this are not walked (a game's data never is; a loop would be).
constexpr int kDeepestFolder = 32;

struct FolderCloser {
  void operator()(DIR* d) const { closedir(d); }
};

char separatorFor(std::string_view folder) {
  if (folder.find('/') != std::string_view::npos) return '/';
  return folder.find('\\') != std::string_view::npos ? '\\' : '/';
}

void collect(const std::string& folderText, std::string_view pattern, int flags, char separator, int depth,
             std::vector<std::string>& names) {
  const std::string folder = scriptPathToFileSystem(folderText);
  std::unique_ptr<DIR, FolderCloser> dir(opendir(folder.c_str()));
  if (!dir) return;
  std::vector<std::string> subfolders;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string fileSystemName = entry->d_name;
    if (fileSystemName.empty() || fileSystemName[0] == '.') continue;
    struct stat st;
    const std::string full = folder + "/" + fileSystemName;
    if (::lstat(full.c_str(), &st) != 0) continue;
    // A link counts as what it points at, but linked folders are not walked.
    const bool link = S_ISLNK(st.st_mode);
    if (link && ::stat(full.c_str(), &st) != 0) continue;
    const std::string name = fromUtf8(fileSystemName, CodePage::Gbk);
    if (S_ISREG(st.st_mode)) {
      if (wildcardMatches(pattern, name)) names.push_back(folderText + name);
    } else if (S_ISDIR(st.st_mode) && !link) {
      subfolders.push_back(name);
    }
  }
  dir.reset();
  if (!(flags & kListSubfolders) || depth >= kDeepestFolder) return;
  for (const std::string& sub : subfolders) {
    collect(folderText + sub + separator, pattern, flags, separator, depth + 1, names);
  }
}

}  // namespace

FileList& fileList() {
  static FileList list;
  return list;
}

void resetFileList() { fileList() = FileList{}; }

std::vector<std::string> listFolder(std::string_view folder, std::string_view pattern, int flags) {
  std::string folderText(folder.empty() ? std::string_view("./") : folder);
  const char separator = separatorFor(folderText);
  if (!endsWithSeparator(folderText)) folderText.push_back(separator);
  std::vector<std::string> names;
  collect(folderText, pattern, flags, separator, 0, names);
  return names;
}

}  // namespace vellum
