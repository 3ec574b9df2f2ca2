// The save-slot commands: makeSave, clearSave, pushSave, saveSave, loadSave, popSave, the comment,
// slot queries, protect flags and setSaveFlag.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// The bodies' work, for tests and other callers. Each reports its failures.
void makeSave();
void clearSave();
void pushSave(bool append, const std::string& labelText);
bool saveSave(int64_t slot, bool compressed);
bool loadSave(int64_t slot, bool compressed);
bool popSave(int64_t n);
// The text of a slot file as saveSave would write it now.
std::string saveFileText();

void provideSaveCommands();

}  // namespace vellum
