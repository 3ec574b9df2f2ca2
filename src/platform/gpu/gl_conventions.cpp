#include "platform/gpu/gl_conventions.h"

#include "platform/gpu/gl_context.h"

namespace vellum::gpu {

const char* const kVertexStageSource = R"(
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
#ifdef GL_ES
  // ES has no BGRA attributes: the colour's bytes B, G, R, A arrive as r, g, b, a.
  v0 = aColor.bgra;
  // ES leaves the size of points undefined unless the stage sets it.
  gl_PointSize = 1.0;
#else
  v0 = aColor;
#endif
  vTex[0] = aTex0; vTex[1] = aTex1; vTex[2] = aTex2; vTex[3] = aTex3; vTex[4] = aTex4;
  vTex[5] = aTex5; vTex[6] = aTex6; vTex[7] = aTex7; vTex[8] = aTex8;
}
)";

const char* const kFragmentPrelude = R"(
in vec4 v0;
in vec2 vTex[9];
uniform vec4 c[32];
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
uniform sampler2D s3;
layout(location = 0) out vec4 oC0;
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

const char* shaderVersionPrelude() {
  if (glFlavour() == GlFlavour::Core33) return "#version 330 core\n";
  return "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";
}

namespace {

GlFormat coreFormatOf(Format f) {
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

// ES's packed 16-bit types keep alpha in the bottom bits, so the words are rotated on upload.
GlFormat esFormatOf(Format f) {
  switch (f) {
    case Format::A8R8G8B8: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, false, Repack::BgraToRgba, 4};
    case Format::X8R8G8B8: return {GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE, true, Repack::BgrxToRgb, 3};
    case Format::R5G6B5: return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, true};
    case Format::A4R4G4B4:
      return {GL_RGBA4, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, false, Repack::Argb4444ToRgba4444, 2};
    case Format::A1R5G5B5:
      return {GL_RGB5_A1, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, false, Repack::Argb1555ToRgba5551, 2};
    case Format::X1R5G5B5:
      return {GL_RGB5_A1, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, true, Repack::Xrgb1555ToRgba5551, 2};
    default: return {};
  }
}

template <typename Row>
void repackRows(const uint8_t* bytes, uint32_t rowPixels, int fromBytes, int toBytes, uint32_t width, uint32_t height,
                std::vector<uint8_t>& scratch, Row row) {
  const size_t fromPitch = static_cast<size_t>(rowPixels) * static_cast<size_t>(fromBytes);
  const size_t toPitch = static_cast<size_t>(rowPixels) * static_cast<size_t>(toBytes);
  scratch.resize(toPitch * (height - 1) + static_cast<size_t>(width) * static_cast<size_t>(toBytes));
  for (uint32_t y = 0; y < height; ++y) row(bytes + y * fromPitch, scratch.data() + y * toPitch, width);
}

void repackWords(const uint8_t* from, uint8_t* to, uint32_t width, uint16_t (*turn)(uint16_t)) {
  const auto* in = reinterpret_cast<const uint16_t*>(from);
  auto* out = reinterpret_cast<uint16_t*>(to);
  for (uint32_t x = 0; x < width; ++x) out[x] = turn(in[x]);
}

}  // namespace

GlFormat glFormatOf(Format f) { return glFlavour() == GlFlavour::Core33 ? coreFormatOf(f) : esFormatOf(f); }

GlFormat glFormat8888(bool opaque) { return glFormatOf(opaque ? Format::X8R8G8B8 : Format::A8R8G8B8); }

bool swizzlesOpaqueAlpha() { return glFlavour() == GlFlavour::Core33; }

const void* uploadBytes(const GlFormat& f, Format layerFormat, const uint8_t* bytes, uint32_t rowPixels,
                        uint32_t width, uint32_t height, std::vector<uint8_t>& scratch) {
  if (!bytes || f.repack == Repack::None || width == 0 || height == 0) return bytes;
  const int from = bytesPerPixel(layerFormat);
  switch (f.repack) {
    case Repack::BgraToRgba:
      repackRows(bytes, rowPixels, from, 4, width, height, scratch, [](const uint8_t* in, uint8_t* out, uint32_t n) {
        for (uint32_t x = 0; x < n; ++x, in += 4, out += 4) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
          out[3] = in[3];
        }
      });
      break;
    case Repack::BgrxToRgb:
      repackRows(bytes, rowPixels, from, 3, width, height, scratch, [](const uint8_t* in, uint8_t* out, uint32_t n) {
        for (uint32_t x = 0; x < n; ++x, in += 4, out += 3) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
        }
      });
      break;
    case Repack::Argb4444ToRgba4444:
      repackRows(bytes, rowPixels, from, 2, width, height, scratch, [](const uint8_t* in, uint8_t* out, uint32_t n) {
        repackWords(in, out, n, [](uint16_t w) { return static_cast<uint16_t>((w << 4) | (w >> 12)); });
      });
      break;
    case Repack::Argb1555ToRgba5551:
      repackRows(bytes, rowPixels, from, 2, width, height, scratch, [](const uint8_t* in, uint8_t* out, uint32_t n) {
        repackWords(in, out, n, [](uint16_t w) { return static_cast<uint16_t>((w << 1) | (w >> 15)); });
      });
      break;
    case Repack::Xrgb1555ToRgba5551:
      repackRows(bytes, rowPixels, from, 2, width, height, scratch, [](const uint8_t* in, uint8_t* out, uint32_t n) {
        repackWords(in, out, n, [](uint16_t w) { return static_cast<uint16_t>((w << 1) | 1u); });
      });
      break;
    case Repack::None: break;
  }
  return scratch.data();
}

void readArgb(GLsizei width, GLsizei height, uint32_t* argb) {
  GlFunctions& g = gl();
  g.PixelStorei(GL_PACK_ALIGNMENT, 4);
  if (glFlavour() == GlFlavour::Core33) {
    g.ReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    return;
  }
  // ES promises RGBA bytes only.
  g.ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, argb);
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  auto* bytes = reinterpret_cast<const uint8_t*>(argb);
  for (size_t i = 0; i < count; ++i, bytes += 4) {
    argb[i] = (static_cast<uint32_t>(bytes[3]) << 24) | (static_cast<uint32_t>(bytes[0]) << 16) |
              (static_cast<uint32_t>(bytes[1]) << 8) | bytes[2];
  }
}

GLint glAddressMode(uint32_t mode) {
  switch (mode) {
    case taddress::Mirror: return GL_MIRRORED_REPEAT;
    case taddress::Clamp: return GL_CLAMP_TO_EDGE;
    case taddress::Border: return glFlavour() == GlFlavour::Core33 ? GL_CLAMP_TO_BORDER : GL_CLAMP_TO_EDGE;
    case taddress::MirrorOnce: return 0x8743;  // GL_MIRROR_CLAMP_TO_EDGE (an extension on ES)
    default: return GL_REPEAT;
  }
}

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
