// Any bytes as a --input replay file: the parser accepts or refuses with a line and a reason, never
// crashes; what it accepts is in time order, and no shot name it accepts can leave the shots folder.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/input/input_replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<ReplayedEvent> events;
  std::string error;
  if (!parseInputReplay(text, events, error)) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  for (size_t i = 0; i < events.size(); ++i) {
    if (i > 0 && events[i].atMs < events[i - 1].atMs) std::abort();
    const std::string& name = events[i].shotName;
    if (name.empty()) continue;
    const bool leaves = name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
                        name.find("..") != std::string::npos;
    if (leaves || !shotNameProblem(name).empty()) std::abort();
  }
  return 0;
}
