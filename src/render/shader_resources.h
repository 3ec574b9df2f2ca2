// The renderer's pixel shaders, kept as program resources under their numbers; the first eleven
// need pixel-shader model 2, Lanczos2 needs model 3.
#pragma once

#include <array>

namespace vellum {

struct ShaderResource {
  int id;
  const char* name;  // the renderer's name for it (reports)
  int shaderModel;
};

// In the order the renderer creates them.
constexpr std::array<ShaderResource, 12> kShaderResources = {{
    {102, "g_pSharpShader", 2},
    {103, "g_pLanczos1Shader", 2},
    {104, "g_pQuadShader", 2},
    {105, "g_pCubicShader", 2},
    {107, "g_pMaskFadeShader", 2},
    {108, "g_pAlphaMask1Shader", 2},
    {109, "g_pAlphaMask1Shader4", 2},
    {110, "g_pAlphaMask1Shader7", 2},
    {111, "g_pStandShader", 2},
    {112, "g_pStandShader4", 2},
    {113, "g_pStandShader7", 2},
    {106, "g_pLanczos2Shader", 3},
}};

// The program text of a resource, or nullptr for an unknown number.
const char* shaderResource(int id);

}  // namespace vellum
