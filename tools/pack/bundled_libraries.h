// Which shared libraries travel with a shipped game: every library the engine needs, directly or
// through another bundled one, except those every desktop Linux has and that must match its own
// system: the C library, the GL/EGL/X11/Wayland driver libraries and the sound server's.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::pack {

struct BundledLibrary {
  std::string soname;          // the name the loader looks for, and the file name in the bundle
  std::filesystem::path file;  // where this machine has it
};

// The text as one word for sh: in single quotes.
std::string shellQuoted(const std::string& text);

// True for the libraries left to the player's system.
bool providedBySystem(std::string_view soname);

// Walks the program's needed libraries (found where this machine's loader finds them, by `ldd`)
// and those the engine opens on first use, stopping at those the system provides. Throws
// ToolError when one cannot be found.
std::vector<BundledLibrary> librariesToBundle(const std::filesystem::path& program);

}  // namespace vellum::pack
