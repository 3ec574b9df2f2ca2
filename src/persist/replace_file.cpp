#include "persist/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/browser_page.h"

namespace vellum {

namespace {

ReplaceInterruption interruptionHook = nullptr;

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename is durable only once the folder entry is on the disk too; a failure here is not a
// failed write (the new file is already in place), so it is ignored.
void syncFolder(const std::string& path) {
  const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void setReplaceInterruption(ReplaceInterruption interruption) { interruptionHook = interruption; }

bool replaceFileContents(const std::string& path, std::string_view bytes, int& errorNumber) {
  std::string temporary = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    errorNumber = errno;
    return false;
  }
  const auto fail = [&](int error) {
    ::unlink(temporary.c_str());
    errorNumber = error;
    return false;
  };
  // mkstemp makes the file private; the settings are the player's, readable like any document.
  ::fchmod(fd, 0644);
  if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return fail(error);
  }
  if (::close(fd) != 0) return fail(errno);
  if (interruptionHook && !interruptionHook(temporary, path)) return fail(EIO);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
  syncFolder(path);
  // In a page the file lives in memory until the browser's storage has a copy.
  syncBrowserStorage();
  return true;
}

}  // namespace vellum
