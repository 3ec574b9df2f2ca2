// Where the device layer's conventions (gpu.h) meet OpenGL's, in one place:
// - pixel centres: the vertex stage moves every position by half a pixel, so integer coordinates
//   land on GL's pixel centres;
// - rows: every texture and framebuffer keeps its top row in GL's row 0 (GL's "bottom"); drawing
//   maps y = 0 to that row, so targets are top-down like uploads and read-backs, and only the
//   final copy to the window turns the picture over;
// - depth: z from 0 … 1 is widened to GL's −1 … 1;
// - channel order: 0xAARRGGBB words are bytes B, G, R, A, uploaded and read as GL_BGRA. ES 3.0
//   (WebGL2) knows no BGRA: there textures are kept in GL's own RGBA order, the bytes are turned
//   around on the CPU on the way in and out, and the vertex stage turns vertex colours around;
// - formats without alpha: 3.3 core swizzles alpha to one; ES (WebGL2 has no swizzles) stores them
//   without alpha (RGB8) or with alpha set on upload.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gpu/gl_functions.h"
#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

// The one vertex stage of every program (after the version lines).
extern const char* const kVertexStageSource;
// What every fragment stage starts with (the inputs, constants and samplers of gpu.h).
extern const char* const kFragmentPrelude;
// The lines before either for the current kind of context: the version, and on ES the precisions.
const char* shaderVersionPrelude();

// How the layer's bytes are rearranged on the way to an ES texture.
enum class Repack : uint8_t {
  None,
  BgraToRgba,         // 8888: bytes B, G, R, A → R, G, B, A
  BgrxToRgb,          // X888: bytes B, G, R, x → R, G, B
  Argb4444ToRgba4444, // 16-bit words, alpha from the top to the bottom bits
  Argb1555ToRgba5551,
  Xrgb1555ToRgba5551, // and alpha set
};

struct GlFormat {
  GLenum internal = 0;  // storage
  GLenum format = 0;    // of the bytes an upload or read-back moves
  GLenum type = 0;
  bool opaque = false;  // the format has no alpha: sampling reads 1
  Repack repack = Repack::None;
  int uploadBytes = 0;  // per pixel after repacking; 0: as the layer format
};
// The GL form of a layer format for the current kind of context; internal 0 when there is none.
GlFormat glFormatOf(Format f);
// The 8-bit form a 16-bit target falls back to when GL cannot render into its own.
GlFormat glFormat8888(bool opaque);
// Whether opaque formats need alpha swizzled to one when sampled (3.3 core; ES stores them opaque).
bool swizzlesOpaqueAlpha();

// The bytes to hand GL for a level of width × height pixels whose rows lie rowPixels apart (the
// unpack row length): the layer's own, or a repacked copy in scratch. nullptr stays nullptr.
const void* uploadBytes(const GlFormat& f, Format layerFormat, const uint8_t* bytes, uint32_t rowPixels,
                        uint32_t width, uint32_t height, std::vector<uint8_t>& scratch);

// Reads width × height pixels of the bound read framebuffer as 0xAARRGGBB words, row 0 first.
void readArgb(GLsizei width, GLsizei height, uint32_t* argb);

// The wrap mode of a layer address mode; ES has no border clamp (the program plays it) and
// clamps to the edge there.
GLint glAddressMode(uint32_t mode);

// Copies the source rectangle of a top-down framebuffer to the destination rectangle of the
// window's framebuffer (bottom-up), turning it over on the way.
void blitToWindow(GLuint framebuffer, const Rect& source, const Rect& destination, int windowHeight,
                  GLuint target = 0);

}  // namespace vellum::gpu
