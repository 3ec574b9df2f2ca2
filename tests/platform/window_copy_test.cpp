// The picture's copy into the window drawn as a quad shows exactly what a framebuffer blit of the
// same rectangles shows: point-sampled at equal sizes, bilinear when stretched or shrunk. (Only
// 8-bit pictures are drawn: a 5-6-5 picture widens to 8 bits differently in a blit and in a
// sampler on llvmpipe, one step apart in some greens, so the device still blits those.)
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "platform/gpu/gl_backend.h"
#include "platform/gpu/gl_conventions.h"
#include "platform/gpu/window_copy.h"
#include "support/gl_window.h"

namespace vellum::gpu {
namespace {

struct CopyCase {
  const char* name;
  int pictureW, pictureH;
  Rect source;
  int windowW, windowH;
  Rect destination;
};

// A colour target with its framebuffer; the picture is filled with noise, the windows start black.
struct GlTarget {
  GLuint texture = 0, framebuffer = 0;
  GlTarget(int w, int h, const std::vector<uint32_t>* argb) {
    GlFunctions& g = gl();
    g.GenTextures(1, &texture);
    g.BindTexture(GL_TEXTURE_2D, texture);
    g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    g.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 argb ? argb->data() : nullptr);
    g.GenFramebuffers(1, &framebuffer);
    g.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    if (!argb) {
      g.ClearColor(0, 0, 0, 1);
      g.Clear(GL_COLOR_BUFFER_BIT);
    }
  }
  ~GlTarget() {
    gl().DeleteFramebuffers(1, &framebuffer);
    gl().DeleteTextures(1, &texture);
  }
  std::vector<uint32_t> read(int w, int h) const {
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    gl().BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    gl().ReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, out.data());
    return out;
  }
};

void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.name; }

class WindowCopyTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(WindowCopyTest, DrawnCopyMatchesTheBlit) {
  const CopyCase& c = GetParam();
  test::GlWindow window(16, 16);
  if (!window.get()) GTEST_SKIP() << "no window for a GL context";
  SDL_GLContext context = createGlContext(window.get());
  if (!context) GTEST_SKIP() << "no GL context here";
  {
    GlFunctions& g = gl();
    std::mt19937 noise(7);
    std::vector<uint32_t> argb(static_cast<size_t>(c.pictureW) * c.pictureH);
    for (uint32_t& p : argb) p = static_cast<uint32_t>(noise());
    const GlTarget picture(c.pictureW, c.pictureH, &argb);
    const GlTarget blitted(c.windowW, c.windowH, nullptr), drawn(c.windowW, c.windowH, nullptr);

    blitToWindow(picture.framebuffer, c.source, c.destination, c.windowH, blitted.framebuffer);
    std::string log;
    const GLuint vertexStage = compileVertexStage(&log);
    ASSERT_NE(vertexStage, 0u) << log;
    GLuint vertexArray = 0, vertexBuffer = 0;
    g.GenVertexArrays(1, &vertexArray);
    g.GenBuffers(1, &vertexBuffer);
    WindowCopy copy;
    g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, drawn.framebuffer);
    ASSERT_TRUE(drawToWindow(copy, vertexStage, vertexArray, vertexBuffer, picture.texture, c.pictureW, c.pictureH,
                             c.source, c.destination, c.windowW, c.windowH));

    const std::vector<uint32_t> want = blitted.read(c.windowW, c.windowH);
    const std::vector<uint32_t> got = drawn.read(c.windowW, c.windowH);
    size_t differing = 0, first = want.size();
    for (size_t i = 0; i < want.size(); ++i) {
      if (want[i] == got[i]) continue;
      if (differing++ == 0) first = i;
    }
    EXPECT_EQ(differing, 0u) << "first at x " << first % static_cast<size_t>(c.windowW) << " y "
                             << first / static_cast<size_t>(c.windowW);
    releaseWindowCopy(copy);
    g.DeleteBuffers(1, &vertexBuffer);
    g.DeleteVertexArrays(1, &vertexArray);
    g.DeleteShader(vertexStage);
  }
  SDL_GL_MakeCurrent(window.get(), nullptr);
  SDL_GL_DeleteContext(context);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, WindowCopyTest,
                         ::testing::Values(CopyCase{"SameSize", 64, 48, {0, 0, 64, 48}, 64, 48, {0, 0, 64, 48}},
                                           CopyCase{"PartOfALargerPicture", 96, 80, {8, 4, 72, 52}, 64, 48, {0, 0, 64, 48}},
                                           CopyCase{"Letterboxed", 64, 48, {0, 0, 64, 48}, 80, 64, {8, 8, 72, 56}},
                                           CopyCase{"Stretched", 64, 48, {0, 0, 64, 48}, 100, 75, {0, 0, 100, 75}},
                                           CopyCase{"Shrunk", 128, 72, {0, 0, 128, 72}, 48, 27, {0, 0, 48, 27}},
                                           CopyCase{"StretchedIntoABox", 40, 30, {0, 0, 40, 30}, 90, 70, {5, 3, 85, 63}}),
                         [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum::gpu
