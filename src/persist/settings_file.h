// setting.dat: reading it into the settings and writing them back.
#pragma once

#include <string>

namespace vellum {

// Reads and applies the settings file at the settings path, or at `explicitPath` (another game's
// file during a carry-over: its protect flags and variables are not taken). Without a file at the
// settings path this is a first run: Interpolation becomes 2 and, without an explicit path, nothing
// else changes. Returns false after a reported read failure, with nothing changed.
bool readSettings(const std::string* explicitPath = nullptr);

// Composes the settings text and stores it at the settings path; does nothing while that path is
// empty. Returns false after a reported failure (the previous file is then still intact).
bool writeSettings();

// Creates the save folder and its parents when missing. False after reporting that the folder
// cannot be made, naming the file that was to be written there.
bool ensureSaveDirectory(const std::string& fileInside);

}  // namespace vellum
