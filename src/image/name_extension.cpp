#include "image/name_extension.h"

#include <cstring>

namespace vellum {

void replaceNameExtension(Image& image, const char* letters) {
  const size_t length = strnlen(image.name, sizeof image.name);
  if (length == sizeof image.name) image.name[sizeof image.name - 1] = '\0';  // keep it terminated
  const size_t end = strnlen(image.name, sizeof image.name);
  if (end < 4 || image.name[end - 4] != '.') return;
  std::memcpy(image.name + end - 3, letters, 3);
}

bool hasLayerMetadata(const Image& image) { return image.name[0] != '\0' || image.mode != 0; }

}  // namespace vellum
