// getParentFolderName, getBaseName, getExtensionName and getFileName: parts of a path.
#include <string>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/path_parts.h"

namespace vellum {

namespace {

template <std::string (*Part)(const PathParts&)>
int pathPartBody(void* call) {
  const auto parts = splitPath(stringArgument(call, 1));
  if (!parts) {
    errorc(ReportText().sjis(messages::kUnusablePath), true);
    args().returnNothing(call);
    return 1;
  }
  const std::string part = Part(*parts);
  args().returnBytes(call, 2, part.data(), part.size());
  return 1;
}

std::string folderOf(const PathParts& p) { return p.folder; }
std::string baseNameOf(const PathParts& p) { return p.baseName; }
std::string extensionOf(const PathParts& p) { return p.extension; }
std::string fileNameOf(const PathParts& p) { return p.fileName(); }

}  // namespace

void providePathFunctions() {
  provideCommand("getParentFolderName", &pathPartBody<&folderOf>);
  provideCommand("getBaseName", &pathPartBody<&baseNameOf>);
  provideCommand("getExtensionName", &pathPartBody<&extensionOf>);
  provideCommand("getFileName", &pathPartBody<&fileNameOf>);
}

}  // namespace vellum
