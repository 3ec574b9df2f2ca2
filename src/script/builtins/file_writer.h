// Writing a file a script names, as saveFile and saveText do: the path is checked, the folders
// above the file are created, and a failure to open or write reports the path, " " and the C
// library's text for the error.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// `mode` is a C file mode ("wb", "ab", ...). False after reporting.
bool writeScriptFile(std::string_view path, std::string_view bytes, const char* mode);

}  // namespace vellum
