#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vellum {

namespace {

int lockFd = -1;
volatile std::sig_atomic_t raiseAsked = 0;

extern "C" void onRaiseSignal(int) { raiseAsked = 1; }

void listenForRaise() {
  struct sigaction action {};
  action.sa_handler = &onRaiseSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
}

// Names become one file name: separators and control bytes are replaced.
std::string fileNamePart(const std::string& name) {
  std::string part;
  for (unsigned char c : name) part += (c == '/' || c < 0x20) ? '_' : static_cast<char>(c);
  return part;
}

int readHolder(int fd) {
  char text[32] = {};
  const ssize_t n = pread(fd, text, sizeof text - 1, 0);
  return n > 0 ? std::atoi(text) : 0;
}

}  // namespace

std::string instanceLockPath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime && access(runtime, W_OK) == 0 ? runtime : "/tmp";
  return folder + "/vellum-" + fileNamePart(name) + ".lock";
}

bool acquireInstanceLock(const std::string& name) {
  releaseInstanceLock();
  const int fd = open(instanceLockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int holder = readHolder(fd);
    close(fd);
    if (holder > 0 && holder != getpid()) kill(holder, SIGUSR1);
    return false;
  }
  const std::string pid = std::to_string(getpid());
  if (ftruncate(fd, 0) == 0 && pwrite(fd, pid.data(), pid.size(), 0) < 0) {
    // The number only helps a second copy raise this one; the lock itself holds.
  }
  lockFd = fd;
  listenForRaise();
  return true;
}

bool instanceLockHeld(const std::string& name) {
  const int fd = open(instanceLockPath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
  close(fd);
  return held;
}

void releaseInstanceLock() {
  if (lockFd < 0) return;
  flock(lockFd, LOCK_UN);
  close(lockFd);
  lockFd = -1;
}

bool takeRaiseRequest() {
  if (!raiseAsked) return false;
  raiseAsked = 0;
  return true;
}

}  // namespace vellum
