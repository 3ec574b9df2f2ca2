// The copy of the finished picture into the window, drawn as a textured quad with a program of
// the device's own rather than with a framebuffer blit. Software GL builds the code for a blit's
// internal shaders anew in every process, while the code of the engine's programs is kept in the
// driver's shader cache between runs; the first frame of a run is shown sooner.
#pragma once

#include <string>

#include "platform/gpu/gl_functions.h"
#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

// The GL names the copy keeps per device, made on its first use.
struct WindowCopy {
  GLuint program = 0, sampler = 0;
  GLint target = -1, transformed = -1, picture = -1;
};

// Draws the source rectangle of a top-down texture of textureW × textureH pixels into the
// destination rectangle of the bound draw framebuffer (windowW × windowH, bottom-up), turning it
// over on the way, point-sampled when the sizes match and bilinear otherwise, like a blit.
// vertexArray and vertexBuffer are the device's vertex stream. False when the program cannot be
// made (the caller then blits).
bool drawToWindow(WindowCopy& copy, GLuint vertexStage, GLuint vertexArray, GLuint vertexBuffer, GLuint texture,
                  int textureW, int textureH, const Rect& source, const Rect& destination, int windowW, int windowH);

// Deletes the copy's GL names (the device's context is current).
void releaseWindowCopy(WindowCopy& copy);

}  // namespace vellum::gpu
