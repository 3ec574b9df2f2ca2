// A private X server (Xvfb) for the tests that need a real window: started once per test process
// on a free display and stopped when the process ends. Tests skip when it cannot be started.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

extern char** environ;

namespace vellum::test {

class PrivateXServer {
 public:
  // The display name (":N"), or empty when no X server could be started.
  static const std::string& display() {
    static PrivateXServer server;
    return server.display_;
  }

 private:
  PrivateXServer() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("Xvfb"), const_cast<char*>("-displayfd"), const_cast<char*>("3"),
                    const_cast<char*>("-nolisten"), const_cast<char*>("tcp"), const_cast<char*>("-screen"),
                    const_cast<char*>("0"), const_cast<char*>("1280x1024x24"), nullptr};
    const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
      close(pipeFds[0]);
      pid_ = 0;
      return;
    }
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    char c;
    pollfd ready{pipeFds[0], POLLIN, 0};
    while (poll(&ready, 1, 10000) == 1 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) {
      stop();
      return;
    }
    display_ = ":" + number;
  }
  ~PrivateXServer() { stop(); }

  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

  pid_t pid_ = 0;
  std::string display_;
};

}  // namespace vellum::test
