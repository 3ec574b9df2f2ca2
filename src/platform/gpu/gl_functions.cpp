#include "platform/gpu/gl_functions.h"

#include <SDL.h>

namespace vellum::gpu {

bool GlFunctions::load() {
  bool complete = true;
#define VELLUM_GL_LOAD(type, name)                                                   \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));                  \
  if (!name) complete = false;
  VELLUM_GL_FUNCTIONS(VELLUM_GL_LOAD)
#undef VELLUM_GL_LOAD
  return complete;
}

GlFunctions& gl() {
  static GlFunctions functions;
  return functions;
}

}  // namespace vellum::gpu
