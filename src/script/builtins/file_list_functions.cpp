// setFileList and getFileList: the FileList.
#include <string>
#include <vector>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/file_list.h"
#include "script/builtins/line_order.h"

namespace vellum {

namespace {

// «setFileList folder, pattern, flags, %count»
int setFileListBody(void* call) {
  const int flags = args().getInt(call, 3);
  std::vector<std::string> names = listFolder(stringArgument(call, 1), stringArgument(call, 2), flags);
  // The names are always sorted; only the direction and the comparison are chosen.
  sortLines(names, 0, names.size(), flags & (kSortDescending | kSortFolded), TextEncoding::Multibyte);
  std::vector<std::string>& list = fileList().names;
  if (!(flags & kListAppend)) list.clear();
  list.insert(list.end(), names.begin(), names.end());
  args().returnInt(call, 4, static_cast<int32_t>(list.size()));
  return 1;
}

// Natively «getFileList $out, index»; the VMs call getFileList(index).
int getFileListBody(void* call) {
  const int32_t index = args().getInt(call, inputIndex(2, 1));
  const std::vector<std::string>& list = fileList().names;
  if (index < 0 || static_cast<size_t>(index) >= list.size()) {
    errorc(ReportText().sjis(messages::kListOutOfRange), true);
    args().returnNothing(call);
    return 1;
  }
  const std::string& name = list[static_cast<size_t>(index)];
  args().returnBytes(call, 1, name.data(), name.size());
  return 1;
}

}  // namespace

void provideFileListFunctions() {
  provideCommand("setFileList", &setFileListBody);
  provideCommand("getFileList", &getFileListBody);
}

}  // namespace vellum
