#include "script/builtins/file_writer.h"

#include <cerrno>
#include <cstdio>

#include "base/report.h"
#include "script/builtins/script_paths.h"
#include "storage/file_handle.h"
#include "storage/storage_messages.h"

namespace vellum {

bool writeScriptFile(std::string_view path, std::string_view bytes, const char* mode) {
  if (!checkWritablePath(path)) return false;
  const std::string name = scriptPathToFileSystem(path);
  if (!createFoldersFor(name)) return false;
  errno = 0;
  FileHandle file(std::fopen(name.c_str(), mode));
  int error = file ? 0 : (errno ? errno : EINVAL);
  if (file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) error = errno ? errno : EIO;
  if (file && std::fclose(file.release()) != 0 && !error) error = errno ? errno : EIO;
  if (!error) return true;
  char buffer[128];
  errorc(ReportText().gbk(path).ascii(" ").ascii(errorText(error, buffer)), true);
  return false;
}

}  // namespace vellum
