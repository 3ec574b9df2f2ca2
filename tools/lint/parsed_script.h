// Scripts parsed by the engine's own tokenizer and label pass, with where each command sits in its
// line, so every check reads the same lines the engine will run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "game_sources.h"
#include "script/label_pass.h"
#include "script/script_file.h"

namespace vellum::lint {

struct CommandUse {
  std::string name;        // may be empty after a condition
  std::string arguments;   // as the tokenizer cut them (a condition for if/elseif)
  size_t nameOffset = 0;   // bytes into the line
  size_t argumentsOffset = 0;
  bool conditional = false;  // an if, elseif or else comes before it on the line
};

struct ParsedLine {
  int number = 0;           // 1-based
  std::string_view text;    // the line as the engine reads it (GBK, no LF)
  std::string_view written; // the line as the author wrote it
  LineRole role = LineRole::Empty;
  std::string labelName;    // for a Label
  size_t badLabelByte = 0;  // for an InvalidLabel
  std::vector<CommandUse> commands;  // for a command line, also one inside a message block
};

struct ParsedScript {
  const ScriptSource* source = nullptr;
  std::vector<ParsedLine> lines;
};

// Parses with the engine's tokenizer; the sources must outlive the result.
std::vector<ParsedScript> parseScripts(const std::vector<ScriptSource>& sources);

// The 1-based column of a byte offset in a GBK line: one per character, a double-byte one counting once.
int columnOf(std::string_view line, size_t byteOffset);

// The GBK bytes as UTF-8, for messages.
std::string readable(std::string_view gbk);

}  // namespace vellum::lint
