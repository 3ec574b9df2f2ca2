// Runs a shell command line for the tool tests (vellum-pack new and dist, the engine on what they
// made), capturing its standard output and error, with the engine's single-instance lock in a
// folder of the test's own so that games other tests start at the same time do not stop it.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/game_builder.h"

namespace vellum::test {

inline std::string quotedPath(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

inline std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `command` (one or several, joined by && or ;) runs under sh in `folder`, with XDG_RUNTIME_DIR set
// to folder/run; what all of it prints is captured.
inline ProcessResult runShell(const std::filesystem::path& folder, const std::string& command) {
  std::filesystem::create_directories(folder / "run");
  const std::string line = "cd " + quotedPath(folder) + " && export XDG_RUNTIME_DIR=" + quotedPath(folder / "run") +
                           " && ( " + command + " ) >" + quotedPath(folder / "out.txt") + " 2>" + quotedPath(folder / "err.txt") +
                           " </dev/null";
  const int status = std::system(line.c_str());
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = fileText(folder / "out.txt");
  result.err = fileText(folder / "err.txt");
  return result;
}

}  // namespace vellum::test
