// The values of the device layer: result codes, formats, pools, states and the capability record.
// They keep the numbers of the Direct3D 9 interface the renderer is written against, so the
// renderer's tables (error names, capability bits, state values) read the same on every backend.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace vellum::gpu {

using Result = int32_t;

constexpr Result kOk = 0;
constexpr Result kOkNoAutoGen = 0x0876086F;
constexpr Result kOutOfMemory = static_cast<Result>(0x8007000E);
constexpr Result kOutOfVideoMemory = static_cast<Result>(0x8876017C);
constexpr Result kWrongTextureFormat = static_cast<Result>(0x88760818);
constexpr Result kDriverInternalError = static_cast<Result>(0x88760827);
constexpr Result kNotFound = static_cast<Result>(0x88760866);
constexpr Result kDeviceLost = static_cast<Result>(0x88760868);
constexpr Result kDeviceNotReset = static_cast<Result>(0x88760869);
constexpr Result kNotAvailable = static_cast<Result>(0x8876086A);
constexpr Result kInvalidDevice = static_cast<Result>(0x8876086B);
constexpr Result kInvalidCall = static_cast<Result>(0x8876086C);

inline bool failed(Result r) { return r < 0; }

enum class Format : uint32_t {
  Unknown = 0,
  R8G8B8 = 20,
  A8R8G8B8 = 21,
  X8R8G8B8 = 22,
  R5G6B5 = 23,
  X1R5G5B5 = 24,
  A1R5G5B5 = 25,
  A4R4G4B4 = 26,
};

// Bytes per texel, 0 for a format the layer cannot store.
int bytesPerPixel(Format f);

enum class Pool : uint32_t { Default = 0, Managed = 1, SystemMem = 2 };

constexpr uint32_t kUsageRenderTarget = 0x1;
constexpr uint32_t kUsageDynamic = 0x200;

constexpr uint32_t kLockReadOnly = 0x10;
constexpr uint32_t kLockDiscard = 0x2000;

enum class DeviceType : uint32_t { Hal = 1, Ref = 2, Sw = 3, NullRef = 4 };

constexpr uint32_t kCreateMultithreaded = 0x4;
constexpr uint32_t kCreateSoftwareVertexProcessing = 0x20;
constexpr uint32_t kCreateHardwareVertexProcessing = 0x40;

constexpr uint32_t kPresentIntervalOne = 0x1;
constexpr uint32_t kPresentIntervalImmediate = 0x80000000u;

constexpr uint32_t kSwapEffectDiscard = 1;

constexpr uint32_t kClearTarget = 0x1;
constexpr uint32_t kClearZBuffer = 0x2;
constexpr uint32_t kClearStencil = 0x4;

// Vertex formats: a position (transformed x, y, z, rhw or untransformed x, y, z), an optional
// diffuse colour word, then 0-9 texture-coordinate sets of two floats.
constexpr uint32_t kFvfXyz = 0x002;
constexpr uint32_t kFvfXyzRhw = 0x004;
constexpr uint32_t kFvfDiffuse = 0x040;
constexpr uint32_t kFvfTexCountShift = 8;
constexpr uint32_t kFvfTexCountMask = 0xF00;
constexpr uint32_t fvfTex(uint32_t sets) { return sets << kFvfTexCountShift; }
// The vertex size a format implies.
uint32_t fvfStride(uint32_t fvf);

enum class Primitive : uint32_t { PointList = 1, LineList = 2, LineStrip = 3, TriangleList = 4, TriangleStrip = 5, TriangleFan = 6 };

enum class TransformType : uint32_t { View = 2, Projection = 3, World = 256 };

// Render states.
namespace rs {
constexpr uint32_t ZEnable = 7, FillMode = 8, ShadeMode = 9, ZWriteEnable = 14, AlphaTestEnable = 15, LastPixel = 16;
constexpr uint32_t SrcBlend = 19, DestBlend = 20, CullMode = 22, ZFunc = 23, AlphaRef = 24, AlphaFunc = 25;
constexpr uint32_t DitherEnable = 26, AlphaBlendEnable = 27, TextureFactor = 60, Clipping = 136, Lighting = 137;
constexpr uint32_t ColorVertex = 141, MultisampleAntialias = 161, ColorWriteEnable = 168, BlendOp = 171;
constexpr uint32_t ScissorTestEnable = 174, BlendFactor = 193, SeparateAlphaBlendEnable = 206;
constexpr uint32_t SrcBlendAlpha = 207, DestBlendAlpha = 208, BlendOpAlpha = 209;
constexpr uint32_t Count = 256;
}  // namespace rs

namespace blend {
constexpr uint32_t Zero = 1, One = 2, SrcColor = 3, InvSrcColor = 4, SrcAlpha = 5, InvSrcAlpha = 6, DestAlpha = 7;
constexpr uint32_t InvDestAlpha = 8, DestColor = 9, InvDestColor = 10, SrcAlphaSat = 11, BlendFactor = 14;
constexpr uint32_t InvBlendFactor = 15;
}  // namespace blend
namespace blendop {
constexpr uint32_t Add = 1, Subtract = 2, RevSubtract = 3, Min = 4, Max = 5;
}
constexpr uint32_t kCullNone = 1;

// Texture-stage states and their operations and arguments.
namespace tss {
constexpr uint32_t ColorOp = 1, ColorArg1 = 2, ColorArg2 = 3, AlphaOp = 4, AlphaArg1 = 5, AlphaArg2 = 6;
constexpr uint32_t TexCoordIndex = 11;
constexpr uint32_t Count = 33;
}  // namespace tss
namespace top {
constexpr uint32_t Disable = 1, SelectArg1 = 2, SelectArg2 = 3, Modulate = 4, Modulate2x = 5, Modulate4x = 6;
constexpr uint32_t Add = 7, AddSigned = 8, Subtract = 10, BlendDiffuseAlpha = 12, BlendTextureAlpha = 13;
constexpr uint32_t BlendCurrentAlpha = 16;
}  // namespace top
namespace ta {
constexpr uint32_t Diffuse = 0, Current = 1, Texture = 2, TFactor = 3, Complement = 0x10, AlphaReplicate = 0x20;
}

// Sampler states, filters and addressing.
namespace ss {
constexpr uint32_t AddressU = 1, AddressV = 2, AddressW = 3, BorderColor = 4, MagFilter = 5, MinFilter = 6;
constexpr uint32_t MipFilter = 7;
constexpr uint32_t Count = 14;
}  // namespace ss
namespace texf {
constexpr uint32_t None = 0, Point = 1, Linear = 2;
}
namespace taddress {
constexpr uint32_t Wrap = 1, Mirror = 2, Clamp = 3, Border = 4, MirrorOnce = 5;
}

// The stages and samplers the layer drives.
constexpr int kStages = 2;
constexpr int kSamplers = 4;
constexpr int kPixelShaderConstants = 32;

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

struct LockedRect {
  int32_t pitch = 0;
  void* bits = nullptr;
};

struct SurfaceDesc {
  Format format = Format::Unknown;
  uint32_t usage = 0;
  Pool pool = Pool::Default;
  uint32_t width = 0, height = 0;
};

struct RasterStatus {
  bool inVBlank = false;
  uint32_t scanLine = 0;
};

struct DisplayMode {
  uint32_t width = 0, height = 0, refreshRate = 0;
  Format format = Format::Unknown;
};

struct AdapterIdentifier {
  char driver[512] = {};
  char description[512] = {};
};

struct PresentParameters {
  uint32_t backBufferWidth = 0, backBufferHeight = 0;
  Format backBufferFormat = Format::X8R8G8B8;
  uint32_t backBufferCount = 1;
  uint32_t multiSampleType = 0, multiSampleQuality = 0;
  uint32_t swapEffect = kSwapEffectDiscard;
  SDL_Window* deviceWindow = nullptr;
  bool windowed = true;
  bool enableAutoDepthStencil = false;
  uint32_t flags = 0;
  uint32_t refreshRate = 0;
  uint32_t presentationInterval = kPresentIntervalImmediate;
};

// Capability bits, with the values the capability report names.
namespace caps {
constexpr uint32_t ReadScanline = 0x00020000;
constexpr uint32_t Caps2CanManageResource = 0x10000000, Caps2DynamicTextures = 0x20000000;
constexpr uint32_t Caps3AlphaFullscreenFlipOrDiscard = 0x20, Caps3CopyToVidmem = 0x100, Caps3CopyToSystemmem = 0x200;
constexpr uint32_t DevDrawPrimTlVertex = 0x400, DevTextureNonLocalVidmem = 0x1000;
constexpr uint32_t DevHwTransformAndLight = 0x10000, DevPureDevice = 0x100000;
constexpr uint32_t MiscBlendOp = 0x800, MiscSeparateAlphaBlend = 0x20000;
constexpr uint32_t BlendZero = 0x1, BlendOne = 0x2, BlendSrcColor = 0x4, BlendInvSrcColor = 0x8, BlendSrcAlpha = 0x10;
constexpr uint32_t BlendInvSrcAlpha = 0x20, BlendDestAlpha = 0x40, BlendInvDestAlpha = 0x80, BlendDestColor = 0x100;
constexpr uint32_t BlendInvDestColor = 0x200, BlendBlendFactor = 0x2000;
constexpr uint32_t TexPow2 = 0x2, TexAlpha = 0x4, TexSquareOnly = 0x20, TexNonPow2Conditional = 0x100, TexMipMap = 0x4000;
constexpr uint32_t FilterMinPoint = 0x100, FilterMinLinear = 0x200, FilterMipPoint = 0x10000;
constexpr uint32_t FilterMipLinear = 0x20000, FilterMagPoint = 0x1000000, FilterMagLinear = 0x2000000;
constexpr uint32_t AddressWrap = 0x1, AddressMirror = 0x2, AddressClamp = 0x4, AddressBorder = 0x8;
constexpr uint32_t AddressMirrorOnce = 0x20;
constexpr uint32_t TexOpDisable = 0x1, TexOpSelectArg1 = 0x2, TexOpSelectArg2 = 0x4, TexOpModulate = 0x8;
constexpr uint32_t TexOpModulate2x = 0x10, TexOpAdd = 0x40, TexOpSubtract = 0x200, TexOpBlendCurrentAlpha = 0x8000;
}  // namespace caps

constexpr uint32_t pixelShaderVersion(uint32_t major, uint32_t minor) { return 0xFFFF0000u | (major << 8) | minor; }
constexpr uint32_t vertexShaderVersion(uint32_t major, uint32_t minor) { return 0xFFFE0000u | (major << 8) | minor; }
constexpr uint32_t shaderMajor(uint32_t version) { return (version >> 8) & 0xFF; }
constexpr uint32_t shaderMinor(uint32_t version) { return version & 0xFF; }

struct Caps {
  DeviceType deviceType = DeviceType::Hal;
  uint32_t caps = 0, caps2 = 0, caps3 = 0, presentationIntervals = 0, devCaps = 0, primitiveMiscCaps = 0;
  uint32_t srcBlendCaps = 0, destBlendCaps = 0, textureCaps = 0, textureFilterCaps = 0, textureAddressCaps = 0;
  uint32_t maxTextureWidth = 0, maxTextureHeight = 0, maxTextureRepeat = 0, textureOpCaps = 0;
  uint32_t maxTextureBlendStages = 0, maxSimultaneousTextures = 0;
  uint32_t vertexShaderVersion = 0, maxVertexShaderConst = 0, pixelShaderVersion = 0;
  float pixelShader1xMaxValue = 0;
  uint32_t numSimultaneousRTs = 0, stretchRectFilterCaps = 0, vertexTextureFilterCaps = 0;
};

// A pixel-shader program: the layer's shading language (see gpu.h) and the number it is known by.
struct ShaderCode {
  int id = 0;
  const char* source = nullptr;
};

}  // namespace vellum::gpu
