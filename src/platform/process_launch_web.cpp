// A page cannot start programs: every launch fails with "no handler" and says why on stderr
// (the browser's console).
#include <cstdio>

#include "platform/process_launch.h"

namespace vellum {

int launchProgram(const std::string& program, const std::vector<std::string>&) {
  std::fprintf(stderr, "vellum: starting programs is not available in the browser (%s)\n", program.c_str());
  std::fflush(stderr);
  return kLaunchNoHandler;
}

}  // namespace vellum
