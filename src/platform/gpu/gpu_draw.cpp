// Drawing from caller memory: the vertex layout a format implies, the blend, cull and sampler
// states turned into GL's, and the program (a pixel shader or the texture-stage program).
#include <algorithm>
#include <cstring>

#include "platform/gpu/gl_backend.h"
#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_conventions.h"
#include "platform/gpu/gpu.h"

namespace vellum::gpu {

namespace {

GLenum blendFactor(uint32_t v) {
  switch (v) {
    case blend::Zero: return GL_ZERO;
    case blend::One: return GL_ONE;
    case blend::SrcColor: return GL_SRC_COLOR;
    case blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case blend::SrcAlpha: return GL_SRC_ALPHA;
    case blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case blend::DestAlpha: return GL_DST_ALPHA;
    case blend::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case blend::DestColor: return GL_DST_COLOR;
    case blend::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    case blend::SrcAlphaSat: return GL_SRC_ALPHA_SATURATE;
    case blend::BlendFactor: return GL_CONSTANT_COLOR;
    case blend::InvBlendFactor: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
  }
}

GLenum blendEquation(uint32_t v) {
  switch (v) {
    case blendop::Subtract: return GL_FUNC_SUBTRACT;
    case blendop::RevSubtract: return GL_FUNC_REVERSE_SUBTRACT;
    case blendop::Min: return GL_MIN;
    case blendop::Max: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLint minFilter(uint32_t min, uint32_t mip) {
  const bool linear = min == texf::Linear;
  if (mip == texf::Point) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  if (mip == texf::Linear) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  return linear ? GL_LINEAR : GL_NEAREST;
}

void colourOf(uint32_t argb, float out[4]) {
  out[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
  out[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
  out[2] = static_cast<float>(argb & 0xFF) / 255.0f;
  out[3] = static_cast<float>(argb >> 24) / 255.0f;
}

void multiply(const float a[16], const float b[16], float out[16]) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[r * 4 + k] * b[k * 4 + c];
      out[r * 4 + c] = sum;
    }
}

uint32_t vertexCount(Primitive type, uint32_t primitives) {
  switch (type) {
    case Primitive::PointList: return primitives;
    case Primitive::LineList: return primitives * 2;
    case Primitive::LineStrip: return primitives + 1;
    case Primitive::TriangleList: return primitives * 3;
    case Primitive::TriangleStrip:
    case Primitive::TriangleFan: return primitives + 2;
  }
  return 0;
}

GLenum glPrimitive(Primitive type) {
  switch (type) {
    case Primitive::PointList: return GL_POINTS;
    case Primitive::LineList: return GL_LINES;
    case Primitive::LineStrip: return GL_LINE_STRIP;
    case Primitive::TriangleList: return GL_TRIANGLES;
    case Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
    case Primitive::TriangleFan: return GL_TRIANGLE_FAN;
  }
  return GL_TRIANGLES;
}

// Sends a uniform only when it differs from what the program last got.
template <typename T, size_t N>
bool changed(T (&sent)[N], const T* now, bool primed) {
  if (primed && std::memcmp(sent, now, sizeof sent) == 0) return false;
  std::memcpy(sent, now, sizeof sent);
  return true;
}

void setSamplerParameter(GLuint sampler, GLint& sent, GLenum name, GLint value) {
  if (sent == value) return;
  gl().SamplerParameteri(sampler, name, value);
  sent = value;
}

}  // namespace

void Device::applyDrawState() {
  GlFunctions& g = gl();
  const uint32_t* r = renderStates_;
  g.Disable(GL_SCISSOR_TEST);
  g.Disable(GL_DEPTH_TEST);
  if (r[rs::AlphaBlendEnable]) {
    g.Enable(GL_BLEND);
    const bool separate = r[rs::SeparateAlphaBlendEnable];
    g.BlendFuncSeparate(blendFactor(r[rs::SrcBlend]), blendFactor(r[rs::DestBlend]),
                        blendFactor(separate ? r[rs::SrcBlendAlpha] : r[rs::SrcBlend]),
                        blendFactor(separate ? r[rs::DestBlendAlpha] : r[rs::DestBlend]));
    g.BlendEquationSeparate(blendEquation(r[rs::BlendOp]), blendEquation(separate ? r[rs::BlendOpAlpha] : r[rs::BlendOp]));
    float factor[4];
    colourOf(r[rs::BlendFactor], factor);
    g.BlendColor(factor[0], factor[1], factor[2], factor[3]);
  } else {
    g.Disable(GL_BLEND);
  }
  // Screen y grows downwards and lands on GL's rows upwards, so the winding turns over.
  if (r[rs::CullMode] == 2 || r[rs::CullMode] == 3) {
    g.Enable(GL_CULL_FACE);
    g.CullFace(r[rs::CullMode] == 3 ? GL_BACK : GL_FRONT);
  } else {
    g.Disable(GL_CULL_FACE);
  }
  SurfaceDesc d;
  renderTarget_->getDesc(d);
  const bool opaque = glFormatOf(d.format).opaque;
  const uint32_t mask = r[rs::ColorWriteEnable];
  g.ColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, !opaque && (mask & 8) != 0);
}

Result Device::drawPrimitiveUP(Primitive type, uint32_t primitiveCount, const void* vertices, uint32_t stride) {
  const uint32_t count = vertexCount(type, primitiveCount);
  if (!vertices || count == 0 || stride < fvfStride(fvf_) || !(fvf_ & (kFvfXyz | kFvfXyzRhw))) return kInvalidCall;
  if (sceneDepth_ == 0) return kInvalidCall;
  flushUploads();
  if (const Result r = bindTarget(); failed(r)) return r;
  GlFunctions& g = gl();
  DeviceBackend& b = *gl_;
  applyDrawState();

  const GLuint program = shader_ ? programOf(shader_) : b.stageProgram;
  if (!program) return kInvalidCall;
  ProgramLocations& l = b.locations[program];
  SentUniforms& sent = l.sent;
  g.UseProgram(program);
  SurfaceDesc d;
  renderTarget_->getDesc(d);
  const GLint transformed = (fvf_ & kFvfXyzRhw) ? 1 : 0;
  if (!sent.primed || sent.transformed != transformed) g.Uniform1i(l.transformed, transformed);
  sent.transformed = transformed;
  const float target[2] = {static_cast<float>(d.width), static_cast<float>(d.height)};
  if (changed(sent.target, target, sent.primed)) g.Uniform2f(l.target, target[0], target[1]);
  float worldView[16], all[16];
  multiply(transforms_[2], transforms_[0], worldView);
  multiply(worldView, transforms_[1], all);
  if (changed(sent.matrix, all, sent.primed)) g.UniformMatrix4fv(l.matrix, 1, GL_FALSE, all);
  if (l.constants >= 0 && changed(sent.constants, constants_, sent.primed))
    g.Uniform4fv(l.constants, kPixelShaderConstants, &constants_[0][0]);

  GLint bound[kStages] = {};
  for (int s = 0; s < kSamplers; ++s) {
    g.ActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(s));
    Texture* t = textures_[s];
    if (t) ensureTexture(t);
    g.BindTexture(GL_TEXTURE_2D, t ? t->glTexture_ : 0);
    if (s < kStages) bound[s] = t ? 1 : 0;
    const uint32_t* st = samplerStates_[s];
    const GLuint sampler = b.samplers[s];
    SamplerParameters& set = b.samplerParameters[s];
    const bool mipmapped = t && t->levels_.size() > 1;
    setSamplerParameter(sampler, set[0], GL_TEXTURE_MIN_FILTER,
                        minFilter(st[ss::MinFilter], mipmapped ? st[ss::MipFilter] : texf::None));
    setSamplerParameter(sampler, set[1], GL_TEXTURE_MAG_FILTER, st[ss::MagFilter] == texf::Linear ? GL_LINEAR : GL_NEAREST);
    setSamplerParameter(sampler, set[2], GL_TEXTURE_WRAP_S, glAddressMode(st[ss::AddressU]));
    setSamplerParameter(sampler, set[3], GL_TEXTURE_WRAP_T, glAddressMode(st[ss::AddressV]));
    g.BindSampler(static_cast<GLuint>(s), sampler);
    // Each sampler uniform names its own unit for good.
    if (!sent.primed && l.samplers[s] >= 0) g.Uniform1i(l.samplers[s], s);
  }
  g.ActiveTexture(GL_TEXTURE0);
  if (!shader_) {
    GLint stages[8][kStages];
    const GLint locations[8] = {l.bound, l.colorOp, l.colorArg1, l.colorArg2, l.alphaOp, l.alphaArg1, l.alphaArg2, l.texIndex};
    for (int s = 0; s < kStages; ++s) {
      const uint32_t* st = stageStates_[s];
      stages[0][s] = bound[s];
      stages[1][s] = static_cast<GLint>(st[tss::ColorOp]);
      stages[2][s] = static_cast<GLint>(st[tss::ColorArg1]);
      stages[3][s] = static_cast<GLint>(st[tss::ColorArg2]);
      stages[4][s] = static_cast<GLint>(st[tss::AlphaOp]);
      stages[5][s] = static_cast<GLint>(st[tss::AlphaArg1]);
      stages[6][s] = static_cast<GLint>(st[tss::AlphaArg2]);
      stages[7][s] = static_cast<GLint>(st[tss::TexCoordIndex] & 0xFFFF);
    }
    for (int k = 0; k < 8; ++k)
      if (changed(sent.stages[k], stages[k], sent.primed)) g.Uniform1iv(locations[k], kStages, stages[k]);
    float factor[4];
    colourOf(renderStates_[rs::TextureFactor], factor);
    if (changed(sent.factor, factor, sent.primed)) g.Uniform4fv(l.factor, 1, factor);
    if (l.border >= 0) {
      GLint border[kStages];
      float borderColor[kStages][4];
      for (int s = 0; s < kStages; ++s) {
        const uint32_t* st = samplerStates_[s];
        border[s] = (st[ss::AddressU] == taddress::Border ? 1 : 0) | (st[ss::AddressV] == taddress::Border ? 2 : 0);
        colourOf(st[ss::BorderColor], borderColor[s]);
      }
      if (changed(sent.border, border, sent.primed)) g.Uniform1iv(l.border, kStages, border);
      if (changed(sent.borderColor, borderColor, sent.primed)) g.Uniform4fv(l.borderColor, kStages, &borderColor[0][0]);
    }
  }
  sent.primed = true;

  // The vertices as the format lays them out.
  g.BindVertexArray(b.vertexArray);
  g.BindBuffer(GL_ARRAY_BUFFER, b.vertexBuffer);
  g.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count) * stride, vertices, GL_STREAM_DRAW);
  uintptr_t offset = 0;
  const auto at = [&offset]() { return reinterpret_cast<const void*>(offset); };
  const auto s = static_cast<GLsizei>(stride);
  g.EnableVertexAttribArray(0);
  if (fvf_ & kFvfXyzRhw) {
    g.VertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, s, at());
    offset += 16;
  } else {
    g.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, s, at());
    offset += 12;
  }
  if (fvf_ & kFvfDiffuse) {
    g.EnableVertexAttribArray(1);
    // ES takes the bytes as they lie; its vertex stage turns them around.
    g.VertexAttribPointer(1, glFlavour() == GlFlavour::Core33 ? GL_BGRA : 4, GL_UNSIGNED_BYTE, GL_TRUE, s, at());
    offset += 4;
  } else {
    g.DisableVertexAttribArray(1);
    g.VertexAttrib4f(1, 1, 1, 1, 1);
  }
  const uint32_t sets = (fvf_ & kFvfTexCountMask) >> kFvfTexCountShift;
  for (uint32_t i = 0; i < 9; ++i) {
    const GLuint location = 2 + i;
    if (i < sets) {
      g.EnableVertexAttribArray(location);
      g.VertexAttribPointer(location, 2, GL_FLOAT, GL_FALSE, s, at());
      offset += 8;
    } else {
      g.DisableVertexAttribArray(location);
      g.VertexAttrib4f(location, 0, 0, 0, 1);
    }
  }
  g.DrawArrays(glPrimitive(type), 0, static_cast<GLsizei>(count));
  g.BindBuffer(GL_ARRAY_BUFFER, 0);
  for (int i = 0; i < kSamplers; ++i) g.BindSampler(static_cast<GLuint>(i), 0);
  return kOk;
}

Result Device::copyTexels(Texture* source, const Rect& from, int32_t toX, int32_t toY) {
  if (!source || source->device_ != this || source->levels_.empty() || sceneDepth_ == 0) return kInvalidCall;
  const Texture::Level& level = source->levels_[0];
  if (from.left < 0 || from.top < 0 || from.width() <= 0 || from.height() <= 0 ||
      from.right > static_cast<int32_t>(level.width) || from.bottom > static_cast<int32_t>(level.height))
    return kInvalidCall;
  // Between 8-bit channels a copy gives what sampling and writing give; other widths round apart.
  const auto eightBit = [](Format f) { return f == Format::A8R8G8B8 || f == Format::X8R8G8B8; };
  SurfaceDesc d;
  renderTarget_->getDesc(d);
  const uint32_t channels = glFormatOf(d.format).opaque ? 7 : 15;
  if (renderTarget_->samples_ != 0 || (renderStates_[rs::ColorWriteEnable] & channels) != channels) return kInvalidCall;
  if (!eightBit(source->format_) || !eightBit(d.format)) return kInvalidCall;
  flushUploads();
  if (!ensureTexture(source)) return kInvalidCall;
  if (const Result r = bindTarget(); failed(r)) return r;
  // Clipped to the target on both sides alike.
  Rect src = from;
  int32_t x = toX, y = toY;
  if (x < 0) src.left -= x, x = 0;
  if (y < 0) src.top -= y, y = 0;
  src.right = std::min(src.right, src.left + static_cast<int32_t>(d.width) - x);
  src.bottom = std::min(src.bottom, src.top + static_cast<int32_t>(d.height) - y);
  if (src.width() <= 0 || src.height() <= 0) return kOk;
  GlFunctions& g = gl();
  DeviceBackend& b = *gl_;
  if (!b.texelReadFramebuffer) g.GenFramebuffers(1, &b.texelReadFramebuffer);
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, b.texelReadFramebuffer);
  g.FramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, source->glTexture_, 0);
  g.Disable(GL_SCISSOR_TEST);
  g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  // Texture and target both keep their top row first, so the copy goes straight across.
  g.BlitFramebuffer(src.left, src.top, src.right, src.bottom, x, y, x + src.width(), y + src.height(),
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
  g.FramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  return kOk;
}

}  // namespace vellum::gpu
