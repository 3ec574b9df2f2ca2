// Script-side text files (Lua and Squirrel sources, text lists): read through the archive index or
// the game folder, descrambled but never inflated.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// The file's bytes, or false after reporting.
bool readTextFile(std::string_view path, std::string& text);

}  // namespace vellum
