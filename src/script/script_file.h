// A parsed script file: lines of byte-string tokens that the interpreter walks without parsing
// again. A text, label or empty line has one token (the whole line); a command line has a name
// token and an argument token per command.
#pragma once

#include <string>
#include <vector>

#include "script/line_cache.h"

namespace vellum {

struct ScriptLine {
  std::vector<std::string> tokens;
  // What the interpreter compiled from the tokens on the line's first run.
  mutable LineCache cache;
};

// Line i of the vector is line number i+1 of the file.
using ScriptFile = std::vector<ScriptLine>;

}  // namespace vellum
