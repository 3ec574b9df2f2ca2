// readTextFile: a game file's bytes as they are stored, for the text functions and the script VMs'
// loaders. Archive entries with nonzero flags are descrambled with their path; compressed entries
// are not inflated.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// False after the failure was reported.
bool readTextFile(std::string_view path, std::string& bytes);

// A script file for a VM's loader: read as above, its lines joined again with LF ends, as the
// script reader splits them. False after the failure was reported.
bool readScriptSource(std::string_view path, std::string& text);

}  // namespace vellum
