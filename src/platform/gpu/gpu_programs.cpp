// GL programs of the device layer: the shared vertex stage, the texture-stage program that plays
// the fixed colour and alpha operations, and linking of pixel shaders.
#include <string>

#include "platform/gpu/gl_backend.h"
#include "platform/gpu/gl_conventions.h"

namespace vellum::gpu {

const char* const kTextureStageProgram = R"(
uniform int uBound[2];
uniform int uColorOp[2];
uniform int uColorArg1[2];
uniform int uColorArg2[2];
uniform int uAlphaOp[2];
uniform int uAlphaArg1[2];
uniform int uAlphaArg2[2];
uniform int uTexIndex[2];
uniform vec4 uFactor;
#ifdef GL_ES
// ES has no border clamp: per stage, bit 1 when u and bit 2 when v reads the border colour
// outside 0 to 1.
uniform int uBorder[2];
uniform vec4 uBorderColor[2];

vec4 stageTexture(sampler2D image, int s, vec2 uv) {
  int b = uBorder[s];
  if (((b & 1) != 0 && (uv.x < 0.0 || uv.x > 1.0)) || ((b & 2) != 0 && (uv.y < 0.0 || uv.y > 1.0)))
    return uBorderColor[s];
  return texture(image, uv);
}
#else
vec4 stageTexture(sampler2D image, int s, vec2 uv) { return texture(image, uv); }
#endif

vec2 coordinates(int set) {
  if (set <= 0) return t0;
  if (set == 1) return t1;
  if (set == 2) return t2;
  if (set == 3) return t3;
  if (set == 4) return t4;
  if (set == 5) return t5;
  if (set == 6) return t6;
  if (set == 7) return t7;
  return t8;
}

vec4 argument(int a, vec4 current, vec4 tex) {
  int source = a & 15;
  vec4 v = current;
  if (source == 0) v = v0;
  else if (source == 2) v = tex;
  else if (source == 3) v = uFactor;
  if ((a & 16) != 0) v = vec4(1.0) - v;
  if ((a & 32) != 0) v = vec4(v.a);
  return v;
}

vec4 operate(int op, vec4 a1, vec4 a2, vec4 current, vec4 tex) {
  if (op == 2) return a1;
  if (op == 3) return a2;
  if (op == 4) return a1 * a2;
  if (op == 5) return a1 * a2 * 2.0;
  if (op == 6) return a1 * a2 * 4.0;
  if (op == 7) return a1 + a2;
  if (op == 8) return a1 + a2 - 0.5;
  if (op == 10) return a1 - a2;
  if (op == 12) return mix(a2, a1, v0.a);
  if (op == 13) return mix(a2, a1, tex.a);
  if (op == 16) return mix(a2, a1, current.a);
  return a1;
}

vec4 stage(int s, vec4 current, vec4 tex) {
  vec3 rgb = operate(uColorOp[s], argument(uColorArg1[s], current, tex), argument(uColorArg2[s], current, tex),
                     current, tex).rgb;
  float a = current.a;
  if (uAlphaOp[s] != 1)
    a = operate(uAlphaOp[s], argument(uAlphaArg1[s], current, tex), argument(uAlphaArg2[s], current, tex),
                current, tex).a;
  return clamp(vec4(rgb, a), 0.0, 1.0);
}

void main() {
  vec4 current = v0;
  if (uColorOp[0] != 1) {
    vec4 tex = uBound[0] != 0 ? stageTexture(s0, 0, coordinates(uTexIndex[0])) : vec4(0.0, 0.0, 0.0, 1.0);
    current = stage(0, current, tex);
    if (uColorOp[1] != 1) {
      vec4 tex1 = uBound[1] != 0 ? stageTexture(s1, 1, coordinates(uTexIndex[1])) : vec4(0.0, 0.0, 0.0, 1.0);
      current = stage(1, current, tex1);
    }
  }
  oC0 = current;
}
)";

namespace {

GLuint compile(GLenum kind, const char* const* parts, int count, std::string* log) {
  GlFunctions& g = gl();
  GLuint shader = g.CreateShader(kind);
  g.ShaderSource(shader, count, parts, nullptr);
  g.CompileShader(shader);
  GLint ok = 0;
  g.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    if (log) {
      char text[2048] = {};
      g.GetShaderInfoLog(shader, sizeof text, nullptr, text);
      *log = text;
    }
    g.DeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

GLuint compileVertexStage(std::string* log) {
  const char* parts[] = {shaderVersionPrelude(), kVertexStageSource};
  return compile(GL_VERTEX_SHADER, parts, 2, log);
}

GLuint compileFragmentStage(const char* fragmentBody, std::string* log) {
  const char* parts[] = {shaderVersionPrelude(), kFragmentPrelude, fragmentBody};
  return compile(GL_FRAGMENT_SHADER, parts, 3, log);
}

GLuint linkStages(GLuint vertexStage, GLuint fragmentStage, std::string* log) {
  GlFunctions& g = gl();
  GLuint program = g.CreateProgram();
  g.AttachShader(program, vertexStage);
  g.AttachShader(program, fragmentStage);
  g.LinkProgram(program);
  GLint ok = 0;
  g.GetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    if (log) {
      char text[2048] = {};
      g.GetProgramInfoLog(program, sizeof text, nullptr, text);
      *log = text;
    }
    g.DeleteProgram(program);
    return 0;
  }
  return program;
}

GLuint linkProgram(GLuint vertexStage, const char* fragmentBody, std::string* log) {
  const GLuint fragment = compileFragmentStage(fragmentBody, log);
  if (!fragment) return 0;
  const GLuint program = linkStages(vertexStage, fragment, log);
  gl().DeleteShader(fragment);
  return program;
}

ProgramLocations locateUniforms(GLuint program) {
  GlFunctions& g = gl();
  ProgramLocations l;
  l.transformed = g.GetUniformLocation(program, "uTransformed");
  l.target = g.GetUniformLocation(program, "uTarget");
  l.matrix = g.GetUniformLocation(program, "uMatrix");
  l.constants = g.GetUniformLocation(program, "c");
  const char* samplerNames[kSamplers] = {"s0", "s1", "s2", "s3"};
  for (int i = 0; i < kSamplers; ++i) l.samplers[i] = g.GetUniformLocation(program, samplerNames[i]);
  l.bound = g.GetUniformLocation(program, "uBound");
  l.colorOp = g.GetUniformLocation(program, "uColorOp");
  l.colorArg1 = g.GetUniformLocation(program, "uColorArg1");
  l.colorArg2 = g.GetUniformLocation(program, "uColorArg2");
  l.alphaOp = g.GetUniformLocation(program, "uAlphaOp");
  l.alphaArg1 = g.GetUniformLocation(program, "uAlphaArg1");
  l.alphaArg2 = g.GetUniformLocation(program, "uAlphaArg2");
  l.texIndex = g.GetUniformLocation(program, "uTexIndex");
  l.factor = g.GetUniformLocation(program, "uFactor");
  l.border = g.GetUniformLocation(program, "uBorder");
  l.borderColor = g.GetUniformLocation(program, "uBorderColor");
  return l;
}

}  // namespace vellum::gpu
