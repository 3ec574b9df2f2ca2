// Making and dropping OpenGL 3.3 core contexts on SDL windows.
#pragma once

#include <SDL.h>

namespace vellum::gpu {

// Asks SDL for a 3.3 core context on the window (made current, entry points loaded); nullptr when
// the window or the system cannot give one.
SDL_GLContext createGlContext(SDL_Window* window);

// Makes a context made earlier (on another window with the same attributes) current on this one,
// entry points loaded; the context is deleted and nullptr returned when it does not fit.
SDL_GLContext adoptGlContext(SDL_Window* window, SDL_GLContext context);

// Sets the attributes a window needs before it is created to carry such a context.
void requestGlAttributes();

// Remembers the current context and puts it back on destruction.
class CurrentContextGuard {
 public:
  CurrentContextGuard() : window_(SDL_GL_GetCurrentWindow()), context_(SDL_GL_GetCurrentContext()) {}
  ~CurrentContextGuard();
  CurrentContextGuard(const CurrentContextGuard&) = delete;
  CurrentContextGuard& operator=(const CurrentContextGuard&) = delete;

 private:
  SDL_Window* window_;
  SDL_GLContext context_;
};

}  // namespace vellum::gpu
