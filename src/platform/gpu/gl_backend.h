// What a device keeps on the GL side: the vertex stream, the programs and the sampler objects.
#pragma once

#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/gpu/gl_functions.h"
#include "platform/gpu/gpu_types.h"
#include "platform/gpu/window_copy.h"

namespace vellum::gpu {

// Uniform values as last sent to one program, which keeps them: a draw sends only what changed.
// They live and die with the program's entry below.
struct SentUniforms {
  bool primed = false;
  GLint transformed = 0;
  float target[2] = {}, matrix[16] = {}, constants[kPixelShaderConstants][4] = {};
  GLint stages[8][kStages] = {};  // bound, colour op and arguments, alpha op and arguments, coordinate set
  float factor[4] = {};
  GLint border[kStages] = {};
  float borderColor[kStages][4] = {};
};

struct ProgramLocations {
  GLint transformed = -1, target = -1, matrix = -1, constants = -1;
  GLint samplers[kSamplers] = {-1, -1, -1, -1};
  // The texture-stage program only.
  GLint bound = -1, colorOp = -1, colorArg1 = -1, colorArg2 = -1, alphaOp = -1, alphaArg1 = -1, alphaArg2 = -1;
  GLint texIndex = -1, factor = -1;
  GLint border = -1, borderColor = -1;  // ES only
  SentUniforms sent;
};

// Sampler parameters as last set on one of the device's sampler objects (min filter, mag
// filter, wrap s, wrap t); 0 where not set yet, which no parameter takes.
using SamplerParameters = GLint[4];

struct DeviceBackend {
  GLuint vertexArray = 0, vertexBuffer = 0, vertexStage = 0, stageProgram = 0;
  GLuint samplers[kSamplers] = {};
  SamplerParameters samplerParameters[kSamplers] = {};
  GLuint texelReadFramebuffer = 0;  // made at the first texel copy
  std::unordered_map<GLuint, ProgramLocations> locations;
  WindowCopy windowCopy;  // made at the first present
  bool renders565 = false;
  std::thread::id owner;
  // GL names freed on another thread, deleted by the owner at its next flush.
  std::vector<GLuint> deadTextures, deadFramebuffers, deadRenderbuffers;
};

// Compiles the vertex stage (once per device) and a fragment stage that follows the prelude, and
// links the two; 0 on failure, with the compiler's words in the log. Compiling is cheap next to
// linking (where the driver generates code), so pixel shaders are compiled when created and linked
// when first drawn with.
GLuint compileVertexStage(std::string* log);
GLuint compileFragmentStage(const char* fragmentBody, std::string* log);
GLuint linkStages(GLuint vertexStage, GLuint fragmentStage, std::string* log);
GLuint linkProgram(GLuint vertexStage, const char* fragmentBody, std::string* log);
ProgramLocations locateUniforms(GLuint program);

// The fragment stage that plays the two fixed texture stages.
extern const char* const kTextureStageProgram;

}  // namespace vellum::gpu
