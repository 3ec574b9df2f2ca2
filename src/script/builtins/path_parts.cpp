#include "script/builtins/path_parts.h"

#include <vector>

#include "script/regex/character_model.h"

namespace vellum {

namespace {

bool isSeparator(std::string_view path, size_t i, size_t length) {
  return length == 1 && (path[i] == '/' || path[i] == '\\');
}

}  // namespace

bool endsWithSeparator(std::string_view path) {
  bool separator = false;
  for (size_t i = 0; i < path.size();) {
    const size_t length = regex::characterLength(path, i);
    separator = isSeparator(path, i, length);
    i += length;
  }
  return separator;
}

std::optional<PathParts> splitPath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  char separator = '\\';
  std::vector<std::string_view> names;
  bool leadingSeparator = false;
  size_t nameStart = std::string_view::npos;
  for (size_t i = 0; i < path.size();) {
    const size_t length = regex::characterLength(path, i);
    if (isSeparator(path, i, length)) {
      if (path[i] == '/') separator = '/';
      if (i == 0) leadingSeparator = true;
      if (nameStart != std::string_view::npos) names.push_back(path.substr(nameStart, i - nameStart));
      nameStart = std::string_view::npos;
    } else if (nameStart == std::string_view::npos) {
      nameStart = i;
    }
    i += length;
  }
  if (nameStart != std::string_view::npos) names.push_back(path.substr(nameStart));

  PathParts parts;
  if (leadingSeparator) parts.folder.push_back(separator);
  if (names.empty()) return parts;
  for (size_t n = 0; n + 1 < names.size(); ++n) {
    parts.folder.append(names[n]);
    parts.folder.push_back(separator);
  }
  const std::string_view name = names.back();
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); i += regex::characterLength(name, i)) {
    if (name[i] == '.') dot = i;
  }
  parts.baseName = std::string(name.substr(0, dot));
  if (dot != std::string_view::npos) parts.extension = std::string(name.substr(dot));
  return parts;
}

}  // namespace vellum
