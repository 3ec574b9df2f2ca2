// Placeholder pictures for a new game: plain shapes and gradients drawn in code and written as
// PNG files with the engine's own writer, so a starter game runs before it has any art.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum::pack {

struct PlaceholderPicture {
  std::string name;            // the file name the starter's scripts use
  std::vector<uint8_t> png;
};

// Every picture the starter game's scripts name, in the order they are listed in its README.
std::vector<PlaceholderPicture> starterPictures();

// The 128 x 128 icon of a game: a rounded plate with a bookmark on it.
std::vector<uint8_t> defaultIconPng();

}  // namespace vellum::pack
