// The FileList: one process-wide list of file names that setFileList fills and getFileList reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct FileList {
  std::vector<std::string> names;
};

FileList& fileList();
void resetFileList();

// setFileList's flag bits besides the sort flags of line_order.h.
constexpr int kListSubfolders = 1;
constexpr int kListAppend = 8;

// The plain files in the folder whose names match the wildcard, each written as the folder text
// followed by its name (GBK). Names beginning with '.' are skipped; with kListSubfolders every
// subfolder's files follow, found the same way. Unsorted.
std::vector<std::string> listFolder(std::string_view folder, std::string_view pattern, int flags);

}  // namespace vellum
