// The parts of a script path. The separator is '/' when the path holds one, else '\'; a run of
// separators counts as one, and a separator at the end is not part of the name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellum {

struct PathParts {
  std::string folder;     // up to and including the last separator, written with the one separator
  std::string baseName;   // the name without its extension
  std::string extension;  // from the name's last '.', the dot included; empty without one

  std::string fileName() const { return baseName + extension; }
};

// Nothing for an empty path.
std::optional<PathParts> splitPath(std::string_view path);

// The last character is '/' or '\' (a trail byte that equals '\' is not one).
bool endsWithSeparator(std::string_view path);

}  // namespace vellum
