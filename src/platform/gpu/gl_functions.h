// The OpenGL entry points the device layer calls, looked up through SDL once a context is current:
// only those that OpenGL 3.3 core and OpenGL ES 3.0 share. Only the device layer includes this file.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
// Values only the desktop path passes to GL; named here so the one source builds for the web.
#define GL_BGRA 0x80E1
#define GL_UNSIGNED_INT_8_8_8_8_REV 0x8367
#define GL_UNSIGNED_SHORT_4_4_4_4_REV 0x8365
#define GL_UNSIGNED_SHORT_1_5_5_5_REV 0x8366
#define GL_CLAMP_TO_BORDER 0x812D
#else
#include <GL/glcorearb.h>
#endif

namespace vellum::gpu {

#define VELLUM_GL_FUNCTIONS(X)                                                                  \
  X(PFNGLGETERRORPROC, GetError)                                                                \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                          \
  X(PFNGLGETSTRINGPROC, GetString)                                                              \
  X(PFNGLGETSTRINGIPROC, GetStringi)                                                            \
  X(PFNGLGENTEXTURESPROC, GenTextures)                                                          \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                                    \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                                                          \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                            \
  X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                                                      \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                                      \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                                                          \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                      \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                                                  \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                                            \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                                                  \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)                                        \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)                                    \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                                                  \
  X(PFNGLREADPIXELSPROC, ReadPixels)                                                            \
  X(PFNGLVIEWPORTPROC, Viewport)                                                                \
  X(PFNGLENABLEPROC, Enable)                                                                    \
  X(PFNGLDISABLEPROC, Disable)                                                                  \
  X(PFNGLCLEARCOLORPROC, ClearColor)                                                            \
  X(PFNGLCLEARPROC, Clear)                                                                      \
  X(PFNGLCOLORMASKPROC, ColorMask)                                                              \
  X(PFNGLBLENDFUNCSEPARATEPROC, BlendFuncSeparate)                                              \
  X(PFNGLBLENDEQUATIONSEPARATEPROC, BlendEquationSeparate)                                      \
  X(PFNGLBLENDCOLORPROC, BlendColor)                                                            \
  X(PFNGLCREATESHADERPROC, CreateShader)                                                        \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                        \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                                                      \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                          \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                                \
  X(PFNGLDELETESHADERPROC, DeleteShader)                                                        \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                      \
  X(PFNGLATTACHSHADERPROC, AttachShader)                                                        \
  X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                            \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                          \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                        \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                              \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                                      \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                                                            \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                            \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                                                              \
  X(PFNGLUNIFORM1IVPROC, Uniform1iv)                                                            \
  X(PFNGLUNIFORM2FPROC, Uniform2f)                                                              \
  X(PFNGLUNIFORM4FVPROC, Uniform4fv)                                                            \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                                \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                                                            \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                                      \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                                                            \
  X(PFNGLBUFFERDATAPROC, BufferData)                                                            \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                                  \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                            \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                                  \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                                  \
  X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)                                \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                          \
  X(PFNGLVERTEXATTRIB4FPROC, VertexAttrib4f)                                                    \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                            \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                                                          \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                                                    \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                                                          \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)                                              \
  X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                                                \
  X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                                          \
  X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                                                \
  X(PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC, RenderbufferStorageMultisample)                    \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)                                  \
  X(PFNGLCULLFACEPROC, CullFace)                                                                \
  X(PFNGLFINISHPROC, Finish)

struct GlFunctions {
#define VELLUM_GL_MEMBER(type, name) type name = nullptr;
  VELLUM_GL_FUNCTIONS(VELLUM_GL_MEMBER)
#undef VELLUM_GL_MEMBER
  // Looks every entry up in the current context; false when one is missing.
  bool load();
};

// The functions of the current context.
GlFunctions& gl();

}  // namespace vellum::gpu
