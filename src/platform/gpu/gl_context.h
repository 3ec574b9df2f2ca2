// Making and dropping OpenGL contexts on SDL windows: 3.3 core, or ES 3.0 (what WebGL2 offers).
#pragma once

#include <SDL.h>

namespace vellum::gpu {

enum class GlFlavour { Core33, Es30 };

// The kind of context this process makes. The web has only ES 3.0; native builds make 3.3 core
// unless VELLUM_GL=es is set in the environment (so the web's path runs and is tested here).
GlFlavour glFlavour();
// Chooses the kind for contexts made from now on (tests drive both in one process). Windows must
// be created after the choice, with the video subsystem started afresh.
void setGlFlavour(GlFlavour flavour);

// The first line of every shader for the current kind ("#version 330 core" / "#version 300 es").
const char* glslVersionLine();

// Asks SDL for a context of the current kind on the window (made current, entry points loaded);
// nullptr when the window or the system cannot give one.
SDL_GLContext createGlContext(SDL_Window* window);

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
