// script.dat: every script file of the game, compressed and scrambled with its own key mixed with
// the game title's key, so a container opens only with an engine built for the same title.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "script/script_file.h"
#include "storage/archive_index.h"

namespace vellum {

struct ScriptContainerState {
  ArchiveIndex index;
  bool present = false;
  uint64_t titleKey = 0;
  // Texts (GBK, LF line ends) that take the place of the container's file with that key: the
  // sources a watching run has reloaded since it started.
  std::unordered_map<uint64_t, std::string> replacedTexts;
  // In a run that watches the sources: each source file's game path (GBK) by key. The label pass
  // names the files it finds here by their path instead of their key.
  std::unordered_map<uint64_t, std::string> sourceNames;
};

ScriptContainerState& scriptContainer();
void resetScriptContainer();

// The title compiled into the engine; its CRC-64 is the container's title key.
const char* gameTitle();

// Reads the index of script.dat and runs the label pass over every file in it. Returns false after
// reporting when the container cannot be opened or a file fails to load or has a label error.
bool openScriptContainer();

// Whether the game has a file with this key (replaced, or in the container).
bool scriptExists(uint64_t key);

// The text of the file with this key: its replaced text, else the container's. False after
// reporting.
bool readScriptText(uint64_t key, std::string& text);

// Appends the parsed lines of the file with this key to `target`. False after reporting.
bool loadScript(uint64_t key, ScriptFile& target);

}  // namespace vellum
