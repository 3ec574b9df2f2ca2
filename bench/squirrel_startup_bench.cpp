// Start-up of the Squirrel runner against a bare Lua interpreter, in the same run: vellum-sq on an
// empty script versus `lua5.2 -e ''`. Each iteration starts the process and waits for its end.
// Compare BM_VellumSq_EmptyScript with BM_Lua52_Empty.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

// Starts the program and waits for it; false when it cannot start or fails.
bool runToEnd(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void runProgram(benchmark::State& state, const std::vector<std::string>& command) {
  if (!runToEnd(command)) {
    state.SkipWithError(("cannot run " + command[0]).c_str());
    return;
  }
  for (auto _ : state) {
    if (!runToEnd(command)) {
      state.SkipWithError("the program failed");
      break;
    }
  }
}

void BM_VellumSq_EmptyScript(benchmark::State& state) {
  runProgram(state, {std::string(VELLUM_BINARY_DIR) + "/vellum-sq",
                     std::string(VELLUM_SOURCE_DIR) + "/bench/squirrel/empty.nut"});
}
void BM_Lua52_Empty(benchmark::State& state) { runProgram(state, {"lua5.2", "-e", ""}); }

BENCHMARK(BM_VellumSq_EmptyScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua52_Empty)->Unit(benchmark::kMillisecond);

}  // namespace
