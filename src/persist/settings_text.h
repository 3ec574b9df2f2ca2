// The text inside setting.dat: composing it from the settings, and applying a parsed one.
#pragma once

#include <string>
#include <string_view>

#include "persist/key_value_text.h"

namespace vellum {

// TotalTime (the current total), every key in table order, the two paths, the protect flags and
// the "s_" script variables, with the line breaks exactly where the file format has them.
std::string composeSettingsText();

// Applies the keys present (a missing key keeps its value) and takes the live copies, the current
// font, the frame pacing and the cursor. Only the engine's own file (ownFile) also brings the
// protect flags and the "s_" variables.
void applySettings(const KeyValues& values, bool ownFile);

// '\' becomes '/', stepping over double-byte characters.
std::string withForwardSlashes(std::string_view path);

}  // namespace vellum
