// A hidden SDL window that can carry a GL context of the kind chosen (3.3 core or ES 3.0), for the
// renderer's tests. Without a display the offscreen video driver is used (Mesa over EGL).
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gpu/gl_context.h"
#include "platform/message_box.h"

namespace vellum::test {

class GlWindow {
 public:
  GlWindow(int width, int height) {
    if (!haveDisplay()) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    started_ = true;
    gpu::requestGlAttributes();
    window_ = SDL_CreateWindow("vellum test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  }
  ~GlWindow() {
    if (window_) SDL_DestroyWindow(window_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  SDL_Window* get() const { return window_; }

 private:
  bool started_ = false;
  SDL_Window* window_ = nullptr;
};

}  // namespace vellum::test
