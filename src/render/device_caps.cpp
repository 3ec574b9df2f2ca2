// DeviceCaps from the device's capabilities and the settings (some settings are written back),
// and the capability report appended to Information.txt.
#include "render/device_caps.h"

#include <cstdio>
#include <string>

#include "persist/engine_settings.h"
#include "render/render_messages.h"
#include "render/renderer_state.h"

namespace vellum {

namespace {

bool has(uint32_t field, uint32_t bits) { return (field & bits) == bits; }

struct Bit {
  const char* name;
  uint32_t value;
};

void group(std::string& out, const char* header, const char* prefix, uint32_t field,
           std::initializer_list<Bit> bits) {
  out += header;
  for (const Bit& b : bits) {
    char line[128];
    std::snprintf(line, sizeof line, "\t\t%s%s %d\n", prefix, b.name, has(field, b.value) ? 1 : 0);
    out += line;
  }
}

void line(std::string& out, const char* format, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, format, values...);
  out += text;
}

}  // namespace

DeviceCaps deriveDeviceCaps(const gpu::Caps& c) {
  EngineSettings& s = settings();
  DeviceCaps d;
  d.scanLine = c.caps & gpu::caps::ReadScanline;
  if ((s.vSyncWait & 2) && !d.scanLine) {
    rendererNotice(render_messages::kSoftwareSyncUnavailable);
    s.vSyncWait = 1;
  }
  d.blendOp = c.primitiveMiscCaps & gpu::caps::MiscBlendOp;
  d.blendFactor = (c.srcBlendCaps & gpu::caps::BlendBlendFactor) && (c.destBlendCaps & gpu::caps::BlendBlendFactor);
  if (!d.blendFactor) s.colorBlend = 0;
  const bool pow2Required = (c.textureCaps & gpu::caps::TexPow2) && !(c.textureCaps & gpu::caps::TexNonPow2Conditional);
  d.pow2 = pow2Required || s.texturePow2 != 0;
  d.square = (c.textureCaps & gpu::caps::TexSquareOnly) || s.textureSquare != 0;
  const bool mipPossible = (c.textureCaps & gpu::caps::TexMipMap) && !(c.textureCaps & gpu::caps::TexPow2);
  d.mipMap = mipPossible && s.mipMap != 0;
  if (s.textureMax == -1) s.textureMax = pow2Required ? 256 : 0;
  d.textureMax = s.textureMax != 0 ? s.textureMax : static_cast<int>(c.maxTextureWidth);
  d.deviceMaxWidth = c.maxTextureWidth;
  d.deviceMaxHeight = c.maxTextureHeight;
  d.vertexShaderMajor = s.vertexShader == 0 ? 0 : static_cast<int>(gpu::shaderMajor(c.vertexShaderVersion));
  const int pixelMajor = static_cast<int>(gpu::shaderMajor(c.pixelShaderVersion));
  if (pixelMajor == 0) s.pixelShader = 0;
  d.pixelShaderMajor = s.pixelShader == 0 ? 0 : pixelMajor;
  d.pointStretch = has(c.stretchRectFilterCaps, gpu::caps::FilterMinPoint | gpu::caps::FilterMagPoint);
  d.linearStretch = has(c.stretchRectFilterCaps, gpu::caps::FilterMinLinear | gpu::caps::FilterMagLinear);
  return d;
}

std::string capabilityReport(const gpu::Caps& c, const DeviceCaps& d, bool sixteenBit) {
  namespace k = gpu::caps;
  std::string out = "CheckDeviceType\n";
  line(out, "\tScreenColor %s\n", sixteenBit ? "D3DFMT_R5G6B5" : "D3DFMT_X8R8G8B8");
  out += "GetDeviceCaps\n";
  switch (c.deviceType) {
    case gpu::DeviceType::Hal: out += "\tDeviceType D3DDEVTYPE_HAL\n"; break;
    case gpu::DeviceType::Ref: out += "\tDeviceType D3DDEVTYPE_REF\n"; break;
    case gpu::DeviceType::Sw: out += "\tDeviceType D3DDEVTYPE_SW\n"; break;
    case gpu::DeviceType::NullRef: out += "\tDeviceType D3DDEVTYPE_NULLREF\n"; break;
    default: out += "\tDeviceType D3DDEVTYPE_FORCE_DWORD\n"; break;
  }
  // The flags DeviceCaps derives are written as derived.
  group(out, "\tCaps\n", "D3DCAPS_", d.scanLine ? k::ReadScanline : 0, {{"READ_SCANLINE", k::ReadScanline}});
  group(out, "\tCaps2\n", "D3DCAPS2_", c.caps2,
        {{"CANMANAGERESOURCE", k::Caps2CanManageResource}, {"DYNAMICTEXTURES", k::Caps2DynamicTextures}});
  group(out, "\tCaps3\n", "D3DCAPS3_", c.caps3,
        {{"ALPHA_FULLSCREEN_FLIP_OR_DISCARD", k::Caps3AlphaFullscreenFlipOrDiscard},
         {"COPY_TO_VIDMEM", k::Caps3CopyToVidmem},
         {"COPY_TO_SYSTEMMEM", k::Caps3CopyToSystemmem}});
  group(out, "\tPresentationIntervals\n", "D3DPRESENT_INTERVAL_", c.presentationIntervals,
        {{"IMMEDIATE", gpu::kPresentIntervalImmediate}, {"ONE", gpu::kPresentIntervalOne}});
  group(out, "\tDevCaps\n", "D3DDEVCAPS_", c.devCaps,
        {{"DRAWPRIMTLVERTEX", k::DevDrawPrimTlVertex},
         {"HWTRANSFORMANDLIGHT", k::DevHwTransformAndLight},
         {"PUREDEVICE", k::DevPureDevice},
         {"TEXTURENONLOCALVIDMEM", k::DevTextureNonLocalVidmem}});
  const uint32_t misc = (c.primitiveMiscCaps & ~k::MiscBlendOp) | (d.blendOp ? k::MiscBlendOp : 0);
  group(out, "\tPrimitiveMiscCaps\n", "D3DPMISCCAPS_", misc,
        {{"BLENDOP", k::MiscBlendOp}, {"SEPARATEALPHABLEND", k::MiscSeparateAlphaBlend}});
  for (const auto& [header, field] : {std::pair{"\tSrcBlendCaps\n", c.srcBlendCaps}, {"\tDestBlendCaps\n", c.destBlendCaps}})
    group(out, header, "D3DPBLENDCAPS_", field,
          {{"BLENDFACTOR", k::BlendBlendFactor},
           {"INVDESTCOLOR", k::BlendInvDestColor},
           {"INVSRCALPHA", k::BlendInvSrcAlpha},
           {"INVSRCCOLOR", k::BlendInvSrcColor},
           {"ONE", k::BlendOne},
           {"SRCALPHA", k::BlendSrcAlpha},
           {"SRCCOLOR", k::BlendSrcColor},
           {"ZERO", k::BlendZero}});
  const uint32_t textureCaps = (c.textureCaps & ~k::TexMipMap) | (d.mipMap ? k::TexMipMap : 0);
  group(out, "\tTextureCaps\n", "D3DPTEXTURECAPS_", textureCaps,
        {{"ALPHA", k::TexAlpha},
         {"MIPMAP", k::TexMipMap},
         {"NONPOW2CONDITIONAL", k::TexNonPow2Conditional},
         {"POW2", k::TexPow2},
         {"SQUAREONLY", k::TexSquareOnly}});
  group(out, "\tTextureFilterCaps\n", "D3DPTFILTERCAPS_", c.textureFilterCaps,
        {{"MAGFPOINT", k::FilterMagPoint},
         {"MINFPOINT", k::FilterMinPoint},
         {"MIPFPOINT", k::FilterMipPoint},
         {"MAGFLINEAR", k::FilterMagLinear},
         {"MINFLINEAR", k::FilterMinLinear},
         {"MIPFLINEAR", k::FilterMipLinear}});
  group(out, "\tTextureAddressCaps\n", "D3DPTADDRESSCAPS_", c.textureAddressCaps,
        {{"MIRROR", k::AddressMirror}, {"CLAMP", k::AddressClamp}, {"MIRRORONCE", k::AddressMirrorOnce}});
  line(out, "\tMaxTextureWidth %d\n\tMaxTextureHeight %d\n", static_cast<int>(c.maxTextureWidth),
       static_cast<int>(c.maxTextureHeight));
  line(out, "\tMaxTextureRepeat %d\n", static_cast<int>(c.maxTextureRepeat));
  group(out, "\tTextureOpCaps\n", "D3DTEXOPCAPS_", c.textureOpCaps,
        {{"BLENDCURRENTALPHA", k::TexOpBlendCurrentAlpha},
         {"DISABLE", k::TexOpDisable},
         {"SELECTARG1", k::TexOpSelectArg1},
         {"ADD", k::TexOpAdd},
         {"SUBTRACT", k::TexOpSubtract},
         {"MODULATE", k::TexOpModulate}});
  line(out, "\tMaxTextureBlendStages %d\n", static_cast<int>(c.maxTextureBlendStages));
  line(out, "\tMaxSimultaneousTextures %d\n", static_cast<int>(c.maxSimultaneousTextures));
  line(out, "\tVertexShaderVersion %d.%d\n", static_cast<int>(gpu::shaderMajor(c.vertexShaderVersion)),
       static_cast<int>(gpu::shaderMinor(c.vertexShaderVersion)));
  line(out, "\tMaxVertexShaderConst %d\n", static_cast<int>(c.maxVertexShaderConst));
  line(out, "\tPixelShaderVersion %d.%d\n", static_cast<int>(gpu::shaderMajor(c.pixelShaderVersion)),
       static_cast<int>(gpu::shaderMinor(c.pixelShaderVersion)));
  line(out, "\tPixelShader1xMaxValue %g\n", static_cast<double>(c.pixelShader1xMaxValue));
  line(out, "\tNumSimultaneousRTs %d\n", static_cast<int>(c.numSimultaneousRTs));
  group(out, "\tStretchRectFilterCaps\n", "D3DPTFILTERCAPS_", c.stretchRectFilterCaps,
        {{"MINFPOINT", k::FilterMinPoint},
         {"MAGFPOINT", k::FilterMagPoint},
         {"MINFLINEAR", k::FilterMinLinear},
         {"MAGFLINEAR", k::FilterMagLinear}});
  line(out, "\tVertexTextureFilterCaps %d\n", c.vertexTextureFilterCaps != 0 ? 1 : 0);
  return out;
}

}  // namespace vellum
