// The script state in a save: the "g_" variables ("Integer", "String") and where to resume
// ("File", and "File2" for a block pushed at a label).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "persist/save_text.h"

namespace vellum {

void writeVariableSaveLines(std::string& out);
struct VariableSaveRecord {
  std::vector<std::pair<std::string, int32_t>> integers;
  std::vector<std::pair<std::string, std::string>> strings;
};
bool readVariableSaveLines(const SaveBlock& block, VariableSaveRecord& record);
void applyVariableSaveLines(const VariableSaveRecord& record);

// "File=<key>,<line>": the position the script continues from after a restore (the line after the
// stored one): in a message wait the message's own line, in a subroutine the line of the outermost
// call, else the second line after the current one (the line right after makeSave, where a game
// opens its menu, does not run again). The key is the current file's, also for script/0.txt.
void writeResumeLine(std::string& out);
// "File=<key>,<line>" that resumes at the line the cursor is on (a page about to begin there).
void writeCurrentLineResumeLine(std::string& out);
// "File2=<key>,<line>" for a label text ("*name"); false (nothing written) for an unknown label.
bool writeLabelResumeLine(std::string& out, std::string_view labelText);

struct ResumePosition {
  bool present = false;
  uint64_t key = 0;
  int fileJumpRequest = 1;  // as the file switch takes it: 1 script/0.txt, 2 script/1.txt, 4 another
  int line = 0;
};
// The preferred key, else the other. False after a report: a malformed line, or a file key no script
// file has (the game's scripts changed since the save).
bool readResumePosition(const SaveBlock& block, bool preferFile2, ResumePosition& position);
// Moves the cursor there (or leaves the line when none is present): the loop continues after the
// command, calling load_lb first when the script has it.
void applyResumePosition(const ResumePosition& position);

}  // namespace vellum
