// Sprites on this machine's GL (llvmpipe without a GPU): whole 1280x720 frames of 1, 100 and 1000
// sprites of 256x256 through the sprite table and the renderer, beside a bare OpenGL loop that
// draws the same textured quads; and the CPU cost of a draw when nothing changed (the commit and
// the submission of every sprite) beside the bare loop's submission alone. Read the figures as
// ratios within one run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "headless_gl_window.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "image/image.h"
#include "persist/engine_settings.h"
#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_functions.h"
#include "platform/message_box.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"

namespace {

using namespace vellum;

constexpr int kRenderW = 1280, kRenderH = 720, kSide = 256;

struct Session {
  SDL_Window* window = nullptr;
  bool ready = false;

  Session() {
    window = bench::openHeadlessGlWindow(kRenderW, kRenderH);
    ready = window != nullptr;
  }

  bool start() {
    resetSprites();
    shutdownRenderer();
    return ready && bench::startHeadlessRenderer(window, kRenderW, kRenderH);
  }
};

Session& session() {
  static Session s;
  return s;
}

Image* picture() {
  std::mt19937 random(5);
  Image* image = createImage(kSide, kSide, 32);
  for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = random() | 0x80000000u;
  return image;
}

// Where sprite i sits: spread over the screen, always fully inside.
float spriteX(int i) { return static_cast<float>(128 + (i * 37) % (kRenderW - 256)); }
float spriteY(int i) { return static_cast<float>(128 + (i * 53) % (kRenderH - 256)); }

void loadSprites(int count) {
  for (int n = 0; n < count; ++n) {
    loadSpriteImage(n, picture(), 0, 0);
    SpriteProperties& p = sprite(n).backImage().props;
    p.x = spriteX(n);
    p.y = spriteY(n);
    sprite(n).pending |= pending::kProperties;
  }
  commitAllSprites();
}

// The bare loop: one program, one texture per quad, the quad's corners sent per draw.
struct BareLoop {
  GLuint program = 0, vertexArray = 0, buffer = 0;
  std::vector<GLuint> textures;

  explicit BareLoop(int count) {
    gpu::GlFunctions& g = gpu::gl();
    const char* vs = "#version 330 core\nlayout(location=0) in vec2 p;layout(location=1) in vec2 t;out vec2 uv;"
                     "void main(){uv=t;gl_Position=vec4(p,0,1);}";
    const char* fs = "#version 330 core\nuniform sampler2D s;in vec2 uv;out vec4 o;void main(){o=texture(s,uv);}";
    program = g.CreateProgram();
    for (auto [type, source] : {std::pair{GL_VERTEX_SHADER, vs}, std::pair{GL_FRAGMENT_SHADER, fs}}) {
      const GLuint shader = g.CreateShader(type);
      g.ShaderSource(shader, 1, &source, nullptr);
      g.CompileShader(shader);
      g.AttachShader(program, shader);
      g.DeleteShader(shader);
    }
    g.LinkProgram(program);
    g.GenVertexArrays(1, &vertexArray);
    g.GenBuffers(1, &buffer);
    Image* image = picture();
    textures.resize(static_cast<size_t>(count));
    g.GenTextures(count, textures.data());
    for (GLuint t : textures) {
      g.BindTexture(GL_TEXTURE_2D, t);
      g.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSide, kSide, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, image->pixels);
      g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    freeImage(image);
  }
  ~BareLoop() {
    gpu::GlFunctions& g = gpu::gl();
    g.DeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
    g.DeleteBuffers(1, &buffer);
    g.DeleteVertexArrays(1, &vertexArray);
    g.DeleteProgram(program);
  }

  void submit() {
    gpu::GlFunctions& g = gpu::gl();
    g.BindFramebuffer(GL_FRAMEBUFFER, 0);
    g.Viewport(0, 0, kRenderW, kRenderH);
    g.ClearColor(0, 0, 0, 1);
    g.Clear(GL_COLOR_BUFFER_BIT);
    g.UseProgram(program);
    g.Enable(GL_BLEND);
    g.BlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    g.BindVertexArray(vertexArray);
    g.BindBuffer(GL_ARRAY_BUFFER, buffer);
    g.EnableVertexAttribArray(0);
    g.EnableVertexAttribArray(1);
    g.ActiveTexture(GL_TEXTURE0);
    for (size_t i = 0; i < textures.size(); ++i) {
      const float x0 = (spriteX(static_cast<int>(i)) - 128) / (kRenderW / 2.0f) - 1;
      const float y0 = 1 - (spriteY(static_cast<int>(i)) - 128) / (kRenderH / 2.0f);
      const float x1 = x0 + kSide / (kRenderW / 2.0f), y1 = y0 - kSide / (kRenderH / 2.0f);
      const float quad[16] = {x0, y0, 0, 0, x1, y0, 1, 0, x0, y1, 0, 1, x1, y1, 1, 1};
      g.BindTexture(GL_TEXTURE_2D, textures[i]);
      g.BufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STREAM_DRAW);
      g.VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
      g.VertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
      g.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
  }
};

void BM_BareFrame(benchmark::State& state) {
  Session& s = session();
  if (!s.start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  {
    BareLoop loop(static_cast<int>(state.range(0)));
    for (auto _ : state) {
      loop.submit();
      SDL_GL_SwapWindow(s.window);
      gpu::gl().Finish();
    }
  }
  shutdownRenderer();
}
BENCHMARK(BM_BareFrame)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SpriteFrame(benchmark::State& state) {
  Session& s = session();
  if (!s.start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadSprites(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    commitAllSprites();
    runFrame(0, 0, 0, 0);
    gpu::gl().Finish();
  }
  resetSprites();
  shutdownRenderer();
}
BENCHMARK(BM_SpriteFrame)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// CPU side only: what the bare loop hands to GL for 1000 quads, without waiting for the pixels.
void BM_BareSubmit(benchmark::State& state) {
  Session& s = session();
  if (!s.start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  {
    BareLoop loop(1000);
    for (auto _ : state) {
      loop.submit();
      state.PauseTiming();
      gpu::gl().Finish();
      state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
  }
  shutdownRenderer();
}
BENCHMARK(BM_BareSubmit)->Unit(benchmark::kMicrosecond);

// CPU side of draw with nothing pending: the commit pass and the sprite lists' submission.
void BM_SpriteSubmitUnchanged(benchmark::State& state) {
  Session& s = session();
  if (!s.start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadSprites(1000);
  gpu::Device* d = renderer().device;
  for (auto _ : state) {
    commitAllSprites();
    d->beginScene();
    sceneCallbacks().drawSpriteLists(0);
    sceneCallbacks().drawSpriteLists(1);
    d->endScene();
    state.PauseTiming();
    gpu::gl().Finish();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  resetSprites();
  shutdownRenderer();
}
BENCHMARK(BM_SpriteSubmitUnchanged)->Unit(benchmark::kMicrosecond);

}  // namespace
