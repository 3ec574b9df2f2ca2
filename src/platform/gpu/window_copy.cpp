#include "platform/gpu/window_copy.h"

#include <SDL.h>

#include "platform/gpu/gl_backend.h"

namespace vellum::gpu {

namespace {

// The picture as it is, alpha included (a blit copies all four channels).
const char* const kWindowCopyProgram = R"(
void main() { oC0 = texture(s0, t0); }
)";

bool makeProgram(WindowCopy& copy, GLuint vertexStage) {
  if (copy.program) return true;
  std::string log;
  const GLuint program = linkProgram(vertexStage, kWindowCopyProgram, &log);
  if (!program) {
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "window copy program: %s", log.c_str());
    return false;
  }
  GlFunctions& g = gl();
  copy.program = program;
  copy.target = g.GetUniformLocation(program, "uTarget");
  copy.transformed = g.GetUniformLocation(program, "uTransformed");
  copy.picture = g.GetUniformLocation(program, "s0");
  g.GenSamplers(1, &copy.sampler);
  g.SamplerParameteri(copy.sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  g.SamplerParameteri(copy.sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return true;
}

}  // namespace

bool drawToWindow(WindowCopy& copy, GLuint vertexStage, GLuint vertexArray, GLuint vertexBuffer, GLuint texture,
                  int textureW, int textureH, const Rect& source, const Rect& destination, int windowW, int windowH) {
  if (!vertexStage || !texture || textureW <= 0 || textureH <= 0 || !makeProgram(copy, vertexStage)) return false;
  GlFunctions& g = gl();
  const bool sameSize = source.width() == destination.width() && source.height() == destination.height();
  const GLint filter = sameSize ? GL_NEAREST : GL_LINEAR;
  g.SamplerParameteri(copy.sampler, GL_TEXTURE_MIN_FILTER, filter);
  g.SamplerParameteri(copy.sampler, GL_TEXTURE_MAG_FILTER, filter);
  g.Viewport(0, 0, windowW, windowH);
  g.Disable(GL_SCISSOR_TEST);
  g.Disable(GL_DEPTH_TEST);
  g.Disable(GL_BLEND);
  g.Disable(GL_CULL_FACE);
  g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  g.UseProgram(copy.program);
  g.Uniform1i(copy.transformed, 1);
  g.Uniform2f(copy.target, static_cast<float>(windowW), static_cast<float>(windowH));
  g.Uniform1i(copy.picture, 0);
  g.ActiveTexture(GL_TEXTURE0);
  g.BindTexture(GL_TEXTURE_2D, texture);
  g.BindSampler(0, copy.sampler);

  // Positions in window pixels (the vertex stage centres pixel i on i, so edges lie half a pixel
  // off); the window's row 0 is its bottom, the texture's row 0 the picture's top.
  const auto x = [](int32_t edge) { return static_cast<float>(edge) - 0.5f; };
  const auto y = [windowH](int32_t edge) { return static_cast<float>(windowH - edge) - 0.5f; };
  const float u0 = static_cast<float>(source.left) / static_cast<float>(textureW);
  const float u1 = static_cast<float>(source.right) / static_cast<float>(textureW);
  const float v0 = static_cast<float>(source.top) / static_cast<float>(textureH);
  const float v1 = static_cast<float>(source.bottom) / static_cast<float>(textureH);
  const float quad[4][6] = {
      {x(destination.left), y(destination.top), 0, 1, u0, v0},
      {x(destination.right), y(destination.top), 0, 1, u1, v0},
      {x(destination.left), y(destination.bottom), 0, 1, u0, v1},
      {x(destination.right), y(destination.bottom), 0, 1, u1, v1},
  };
  g.BindVertexArray(vertexArray);
  g.BindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  g.BufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
  constexpr GLsizei kStride = sizeof quad[0];
  g.EnableVertexAttribArray(0);
  g.VertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, kStride, nullptr);
  g.DisableVertexAttribArray(1);
  g.VertexAttrib4f(1, 1, 1, 1, 1);
  g.EnableVertexAttribArray(2);
  g.VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<const void*>(4 * sizeof(float)));
  for (GLuint location = 3; location < 11; ++location) {
    g.DisableVertexAttribArray(location);
    g.VertexAttrib4f(location, 0, 0, 0, 1);
  }
  g.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  g.BindBuffer(GL_ARRAY_BUFFER, 0);
  g.BindSampler(0, 0);
  return true;
}

void releaseWindowCopy(WindowCopy& copy) {
  GlFunctions& g = gl();
  if (copy.program) g.DeleteProgram(copy.program);
  if (copy.sampler) g.DeleteSamplers(1, &copy.sampler);
  copy = WindowCopy{};
}

}  // namespace vellum::gpu
