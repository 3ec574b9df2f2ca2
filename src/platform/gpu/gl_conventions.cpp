#include "platform/gpu/gl_conventions.h"

#include "platform/gpu/gl_functions.h"

namespace vellum::gpu {

const char* const kVertexStageSource = R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aTex0;
layout(location = 3) in vec2 aTex1;
layout(location = 4) in vec2 aTex2;
layout(location = 5) in vec2 aTex3;
layout(location = 6) in vec2 aTex4;
layout(location = 7) in vec2 aTex5;
layout(location = 8) in vec2 aTex6;
layout(location = 9) in vec2 aTex7;
layout(location = 10) in vec2 aTex8;
uniform int uTransformed;  // 1: x, y in target pixels with rhw; 0: x, y, z through uMatrix
uniform vec2 uTarget;      // the render target's size in pixels
uniform mat4 uMatrix;      // world * view * projection, row-vector convention
out vec4 v0;
out vec2 vTex[9];
void main() {
  if (uTransformed == 1) {
    // Pixel (i, j) is centred on (i, j); GL centres it on (i + 0.5, j + 0.5). Row 0 is GL's row 0.
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 ndc = (aPosition.xy + 0.5) * 2.0 / uTarget - 1.0;
    gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
  } else {
    vec4 p = uMatrix * vec4(aPosition.xyz, 1.0);
    // Clip space has y up with the top at +1: the top row goes to GL's row 0, half a pixel on.
    gl_Position = vec4(p.x + p.w / uTarget.x, -p.y + p.w / uTarget.y, p.z * 2.0 - p.w, p.w);
  }
  v0 = aColor;
  vTex[0] = aTex0; vTex[1] = aTex1; vTex[2] = aTex2; vTex[3] = aTex3; vTex[4] = aTex4;
  vTex[5] = aTex5; vTex[6] = aTex6; vTex[7] = aTex7; vTex[8] = aTex8;
}
)";

const char* const kFragmentPrelude = R"(#version 330 core
in vec4 v0;
in vec2 vTex[9];
uniform vec4 c[32];
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
uniform sampler2D s3;
out vec4 oC0;
#define t0 vTex[0]
#define t1 vTex[1]
#define t2 vTex[2]
#define t3 vTex[3]
#define t4 vTex[4]
#define t5 vTex[5]
#define t6 vTex[6]
#define t7 vTex[7]
#define t8 vTex[8]
)";

GlFormat glFormatOf(Format f) {
  switch (f) {
    case Format::A8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, false};
    case Format::X8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, true};
    // The 16-bit words keep red (or alpha) in the top bits, which the packed GL types match.
    case Format::R5G6B5: return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, true};
    case Format::A4R4G4B4: return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, false};
    case Format::A1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, false};
    case Format::X1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, true};
    default: return {};
  }
}

GlFormat glFormat8888(bool opaque) { return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, opaque}; }

void blitToWindow(GLuint framebuffer, const Rect& source, const Rect& destination, int windowHeight, GLuint target) {
  GlFunctions& g = gl();
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
  const bool sameSize = source.width() == destination.width() && source.height() == destination.height();
  g.BlitFramebuffer(source.left, source.top, source.right, source.bottom, destination.left,
                    windowHeight - destination.top, destination.right, windowHeight - destination.bottom,
                    GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
}

}  // namespace vellum::gpu
