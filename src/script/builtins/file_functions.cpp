// existFile, deleteFile, copyFile, moveFile, loadFile and saveFile: whole files named by scripts.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/file_writer.h"
#include "script/builtins/script_paths.h"
#include "script/builtins/text_file_reader.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

bool inArchives(std::string_view path) {
  const StorageState& s = storage();
  const uint64_t key = crc64Of(path);
  return s.archivesPresent && key != 0 && s.archives.count(key) > 0;
}

bool isLooseFile(const std::string& fileSystemPath) {
  struct stat st;
  return ::stat(fileSystemPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int existFileBody(void* call) {
  const std::string path = stringArgument(call, 1);
  const bool exists = !path.empty() && (inArchives(path) || isLooseFile(scriptPathToFileSystem(path)));
  args().returnInt(call, 2, exists ? 1 : 0);
  return 1;
}

int deleteFileBody(void* call) {
  const std::string path = stringArgument(call, 1);
  const bool deleted = !path.empty() && ::unlink(scriptPathToFileSystem(path).c_str()) == 0;
  args().returnInt(call, 2, deleted ? 1 : 0);
  return 1;
}

bool copyLooseFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec) && !ec;
}

// A rename across file systems is done as a copy and a delete.
bool moveLooseFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (errno != EXDEV) return false;
  return copyLooseFile(from, to) && ::unlink(from.c_str()) == 0;
}

template <bool (*Transfer)(const std::string&, const std::string&)>
int transferBody(void* call) {
  const std::string source = stringArgument(call, 1);
  const std::string destination = stringArgument(call, 2);
  bool done = false;
  if (checkWritablePath(source) && checkWritablePath(destination)) {
    const std::string to = scriptPathToFileSystem(destination);
    done = createFoldersFor(to) && Transfer(scriptPathToFileSystem(source), to);
  }
  args().returnInt(call, 3, done ? 1 : 0);
  return 1;
}

int loadFileBody(void* call) {
  std::string bytes;
  if (readTextFile(stringArgument(call, 1), bytes)) args().returnBytes(call, 2, bytes.data(), bytes.size());
  return 1;
}

int saveFileBody(void* call) {
  writeScriptFile(stringArgument(call, 1), stringArgument(call, 2), "wb");
  return 0;
}

}  // namespace

void provideFileFunctions() {
  provideCommand("existFile", &existFileBody);
  provideCommand("deleteFile", &deleteFileBody);
  provideCommand("copyFile", &transferBody<&copyLooseFile>);
  provideCommand("moveFile", &transferBody<&moveLooseFile>);
  provideCommand("loadFile", &loadFileBody);
  provideCommand("saveFile", &saveFileBody);
}

}  // namespace vellum
