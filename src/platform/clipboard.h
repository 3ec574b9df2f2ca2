// The desktop clipboard, as UTF-8 text. Without a video system there is no clipboard: writes do
// nothing and reads find nothing.
#pragma once

#include <optional>
#include <string>

namespace vellum {

// False when the clipboard could not be reached; the previous contents then stay.
bool setClipboardText(const std::string& utf8);

// The clipboard's text; nothing when it is empty, holds no text, or cannot be reached.
std::optional<std::string> clipboardText();

}  // namespace vellum
