// Replacing script files while a game runs: the new texts are parsed and pass the label pass
// together, then take the place of the old ones, and every position the script holds in them (the
// cursor, the callers' return points, the loops) moves to the same place in the new text.
// Variables and everything outside the script state are left as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

struct ScriptReplacement {
  uint64_t key = 0;   // the file key of its game path
  std::string name;   // its game path (GBK), which reports then name it by
  std::string text;   // GBK with LF line ends, as the packer stores it
};

// Call only between lines, when no command is running. Returns false after reporting the first
// label problem; nothing changes then and the old texts go on running.
bool replaceScripts(const std::vector<ScriptReplacement>& files);

}  // namespace vellum
