// Where the device layer's conventions (gpu.h) meet OpenGL's, in one place:
// - pixel centres: the vertex stage moves every position by half a pixel, so integer coordinates
//   land on GL's pixel centres;
// - rows: every texture and framebuffer keeps its top row in GL's row 0 (GL's "bottom"); drawing
//   maps y = 0 to that row, so targets are top-down like uploads and read-backs, and only the
//   final copy to the window turns the picture over;
// - depth: z from 0 … 1 is widened to GL's −1 … 1;
// - channel order: 0xAARRGGBB words are bytes B, G, R, A, uploaded and read as GL_BGRA.
#pragma once

#include <GL/glcorearb.h>

#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

// The one vertex stage of every program.
extern const char* const kVertexStageSource;
// What every fragment stage starts with (the inputs, constants and samplers of gpu.h).
extern const char* const kFragmentPrelude;

struct GlFormat {
  GLenum internal = 0;  // storage
  GLenum format = 0;    // of the bytes an upload or read-back moves
  GLenum type = 0;
  bool opaque = false;  // the format has no alpha: sampling reads 1
};
// The GL form of a layer format; internal 0 when there is none.
GlFormat glFormatOf(Format f);
// The 8-bit form a 16-bit target falls back to when GL cannot render into its own.
GlFormat glFormat8888(bool opaque);

// Copies the source rectangle of a top-down framebuffer to the destination rectangle of the
// window's framebuffer (bottom-up), turning it over on the way.
void blitToWindow(GLuint framebuffer, const Rect& source, const Rect& destination, int windowHeight,
                  GLuint target = 0);

}  // namespace vellum::gpu
