#include "platform/gpu/gl_context.h"

#include <cstdlib>
#include <cstring>

#include "platform/gpu/gl_functions.h"

namespace vellum::gpu {

namespace {

GlFlavour flavourAtStart() {
#ifdef __EMSCRIPTEN__
  return GlFlavour::Es30;
#else
  const char* asked = std::getenv("VELLUM_GL");
  return asked && std::strcmp(asked, "es") == 0 ? GlFlavour::Es30 : GlFlavour::Core33;
#endif
}

GlFlavour& chosenFlavour() {
  static GlFlavour flavour = flavourAtStart();
  return flavour;
}

}  // namespace

GlFlavour glFlavour() { return chosenFlavour(); }

void setGlFlavour(GlFlavour flavour) { chosenFlavour() = flavour; }

const char* glslVersionLine() { return glFlavour() == GlFlavour::Es30 ? "#version 300 es" : "#version 330 core"; }

void requestGlAttributes() {
  const bool es = glFlavour() == GlFlavour::Es30;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

SDL_GLContext createGlContext(SDL_Window* window) {
  if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return nullptr;
  requestGlAttributes();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return nullptr;
  if (SDL_GL_MakeCurrent(window, context) != 0 || !gl().load()) {
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  return context;
}

CurrentContextGuard::~CurrentContextGuard() {
  if (context_) SDL_GL_MakeCurrent(window_, context_);
}

}  // namespace vellum::gpu
