// The renderer: the one device of the process, its fixed surfaces and shaders, the frame that
// draws the scene and presents it, uploads into textures, read-back, and recovery after loss.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/gpu/gpu.h"

struct SDL_Window;

namespace vellum {

// What the window and the display geometry tell the renderer.
struct RendererDisplay {
  int renderW = 800, renderH = 600;    // the scene's size in pixels
  int clientW = 800, clientH = 600;    // the window's client area
  int monitorW = 800, monitorH = 600;  // the monitor the window is on
  std::array<gpu::Rect, 5> dest{};     // destination rectangle of display modes 1-4 (index = mode)
  std::array<gpu::Rect, 5> src{};      // their source rectangles
};

// Calls into the subsystems that draw the scene or own render targets; each is optional and does
// nothing until its owner fills it in.
struct SceneCallbacks {
  std::function<void(uint32_t now)> perFrameUpdate;  // screen transforms, shakes, animations
  // The normal scene's sprite lists: run 0 the entries in front (order key 0 and above), run 1
  // those behind; the message layer is drawn between the two.
  std::function<void(int run)> drawSpriteLists;
  std::function<void()> drawMessageLayer;            // the message window's text
  std::function<void()> drawMotionBlurScene;         // mode 0 while motion blur is on
  std::function<void()> commitPending;               // commit the sprites' pending changes
  // Whether anything moves (animations, shakes, camera tracks, frame sequences, queued sounds).
  std::function<bool()> sceneActive;
  std::function<void()> releaseSpriteTargets;        // before a reset
  std::function<void()> recreateSpriteTargets;       // after one
  // The render-target surface of sprite n's front picture; nullptr when it has no front picture.
  std::function<gpu::Surface*(int sprite)> spriteTargetSurface;
  // Scene-draw procedures of the transitions (modes 1-4), with the frame's three arguments.
  std::array<std::function<void(int, int, int)>, 5> transitionScenes;
  std::function<void(int, int, int)> ruleSceneCpu;   // mode 3 without shaders
};

// The capabilities of the device combined with the settings.
struct DeviceCaps {
  bool scanLine = false;
  bool blendOp = false;
  bool blendFactor = false;
  bool pow2 = false;
  bool square = false;
  bool mipMap = false;
  int textureMax = 0;              // the effective largest texture side
  uint32_t deviceMaxWidth = 0, deviceMaxHeight = 0;
  int vertexShaderMajor = 0, pixelShaderMajor = 0;
  bool pointStretch = false, linearStretch = false;
};

enum class FramePass { Direct, Plain, Shader };

// The vertex of the plain final quad (position and one texture set) and of the scene quad.
struct QuadVertex {
  float x, y, z, rhw, u, v;
};
struct SceneVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};

SceneCallbacks& sceneCallbacks();
// Tells the renderer the sizes it works with (before creation, and whenever they change).
void setRendererDisplay(const RendererDisplay& display);
const RendererDisplay& rendererDisplay();

// Creates the device on the window and the render resources. False when the engine cannot run
// (the caller sets the quit flag).
bool createRenderer(SDL_Window* window);
// Releases everything (shutdown, tests).
void shutdownRenderer();
bool rendererReady();

bool createDevice(SDL_Window* window);
bool createRenderResources();
void releaseDefaultPoolResources();
bool screenChange();
bool resizeBackBuffer(int recomputeFinalPass);
bool changeMultiSample(uint32_t samples);
uint32_t multiSampleType();
void selectFinalPass();

// One frame with the given scene-draw procedure and its arguments; false when it failed.
bool runFrame(int sceneMode, int a, int b, int c);
// Mode 0's scene into the current render target: the sprite lists with the message layer between
// the entries in front (order key 0 and above) and those behind. Transitions draw their before and
// after pictures with it.
void drawNormalScene();
// The frame's last step (inside a frame procedure).
bool presentFrame();

// The texture uploads and creation used by the sprite code and plug-ins.
gpu::Texture* createTexture(int width, int height, int levels);
bool createRenderTargetTexture(int width, int height, gpu::Texture** texture, gpu::Surface** surface);
bool writeTexture2(gpu::Texture* texture, const uint32_t* pixels, uint32_t level, int imageWidth, int imageHeight,
                   int textureWidth, int textureHeight);
bool writeTexture3(gpu::Texture* texture, const uint32_t* pixels, uint32_t level, int imageWidth, int imageHeight,
                   int textureWidth, int textureHeight, int tileX, int tileY);
// Copies the frame target into width x height 32-bit pixels.
bool getRenderImage(uint32_t* destination, int width, int height);
// SetRenderTarget2: the target at an index set to sprite n's surface (n <= 0: the frame target).
int setRenderTarget2(int index, int sprite);

// The text of a device result code.
std::string deviceErrorName(gpu::Result result);

// Shows a notice of the renderer (GBK text). Tests replace it to see what a person would see.
using RendererNotice = std::function<void(const std::string& gbk)>;
void setRendererNotice(RendererNotice notice);

// The renderer's state, for the code that draws through it.
struct RendererState;
RendererState& renderer();
void resetRendererState();

}  // namespace vellum
