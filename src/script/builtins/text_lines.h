// Lines of a text file as the TextList keeps them: each with its terminator, in one of three
// encodings chosen by the byte-order mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

enum class TextEncoding : int { Multibyte = 0, Utf16Le = 1, Utf16Be = 2 };

// The encoding the bytes announce: FF FE little-endian UTF-16, FE FF big-endian, else multibyte.
TextEncoding detectEncoding(std::string_view bytes);

// Splits after every line feed of the encoding (a whole LF character: one byte in multibyte text,
// one aligned code unit in UTF-16). Each line keeps its terminator and the byte-order mark stays at
// the start of the first line; a last piece without a terminator is a line when it is not empty.
std::vector<std::string> splitIntoLines(std::string_view bytes, TextEncoding encoding);

// CR LF, or the code unit 0x000A in the UTF-16 byte order.
std::string_view newlineFor(TextEncoding encoding);

// The line without blanks, tabs, CR and LF at either end (whole characters of the encoding).
std::string trimmedLine(std::string_view line, TextEncoding encoding);

}  // namespace vellum
