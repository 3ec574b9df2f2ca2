#include "platform/process_launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vellum {

namespace {

bool isExecutableFile(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The full path of a program: as given when it holds a '/', else the first match along PATH.
std::string resolveProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = end > start ? dirs.substr(start, end - start) : std::string(".");
    candidate.append(1, '/').append(program);
    if (isExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

int codeForErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return kLaunchNotFound;
    case EACCES:
    case EPERM: return kLaunchAccessDenied;
    case ENOEXEC: return kLaunchNoHandler;
    default: return kLaunchOutOfResources;
  }
}

// Only async-signal-safe calls between fork and exec: the engine has worker threads.
[[noreturn]] void execGrandchild(const char* path, char* const* argv, int reportFd) {
  const pid_t grandchild = fork();
  if (grandchild < 0) {
    const int error = errno;
    (void)!write(reportFd, &error, sizeof error);
    _exit(1);
  }
  if (grandchild > 0) _exit(0);  // the grandchild is adopted by init and reaped there
  setsid();
  execv(path, argv);
  const int error = errno;
  (void)!write(reportFd, &error, sizeof error);
  _exit(127);
}

}  // namespace

int launchProgram(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.empty()) return kLaunchNotFound;
  const std::string path = resolveProgram(program);
  if (path.empty()) return kLaunchNotFound;
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return kLaunchNotFound;
  if (!S_ISREG(st.st_mode) || access(path.c_str(), X_OK) != 0) return kLaunchAccessDenied;

  // Everything the child needs is built before fork.
  std::vector<std::string> words;
  words.push_back(program);
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  // exec closes the write end on success, so the parent reads either an errno or end of file.
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return kLaunchOutOfResources;
  const pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return kLaunchOutOfResources;
  }
  if (child == 0) {
    close(pipeFds[0]);
    execGrandchild(path.c_str(), argv.data(), pipeFds[1]);
  }
  close(pipeFds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(pipeFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) return codeForErrno(error);
  return kLaunchStarted;
}

}  // namespace vellum
