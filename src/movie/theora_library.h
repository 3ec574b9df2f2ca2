// The movie decoder's five entry points and the callbacks the engine hands it. The decoder built
// into the engine (libtheora and libogg) fills them when theora_create runs; any decoder with the
// same entry points could take its place.
#pragma once

#include <cstdint>

namespace vellum {

using TheoraReadCallback = int32_t (*)(void* stream, void* destination, int32_t offset, int32_t size);
using TheoraLengthCallback = int32_t (*)(void* stream);
using TheoraRowCallback = void* (*)(void* image, int32_t row);
using TheoraNoopCallback = void (*)();
using TheoraPlanesCallback = int32_t (*)(void* image, int32_t unused, const void* planes);

struct TheoraLibrary {
  void* (*create)();
  void (*free)(void* handle);
  // Nonzero when the stream's headers were read.
  int32_t (*load)(void* handle, void* stream, TheoraReadCallback read, TheoraLengthCallback length, void* image,
                  TheoraRowCallback rowAddress, TheoraNoopCallback noop, TheoraPlanesCallback planes);
  // Leaves frame `index` in the image (through the planes callback); past the last frame the
  // image is left as it was.
  void (*decodeFrame)(void* handle, int32_t index);
  void (*setVerticalReverse)(void* handle, int32_t on);
};

// theora_create: makes the decoder available. Returns false (after the error box) when it cannot.
bool loadTheoraLibrary();
// The entry points, or nullptr before theora_create.
const TheoraLibrary* theoraLibrary();
void resetTheoraLibrary();  // back to "not loaded" (tests)

void provideMovieCommands();

}  // namespace vellum
