// Conversion of the engine's byte texts to UTF-8 at the platform boundary: what a person sees
// (terminal, message boxes, window title) and the names handed to the file system.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// The code page a byte text is written in. Script text and the engine's own dialog texts are GBK;
// messages about scripts, files, sound and saves are Shift-JIS.
enum class CodePage { Gbk, ShiftJis };

// Converts bytes of the given code page to UTF-8. Bytes that do not decode become U+FFFD; the
// conversion never reads past the given text.
std::string toUtf8(std::string_view bytes, CodePage page);

// The inverse, for text typed by a person or taken from the file system; unmappable characters
// become '?'.
std::string fromUtf8(std::string_view utf8, CodePage page);

// A game path written by a script (GBK, '/' or '\' separators) as a Linux file name.
std::string gamePathToFileSystem(std::string_view path);

}  // namespace vellum
