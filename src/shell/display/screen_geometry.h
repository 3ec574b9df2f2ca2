// The numbers that connect the game's coordinate space, the render target, the window and the
// monitor: one process-wide record, written by the screen set-up and the display operations and read
// by the renderer and the input mapping. Everything is computed by the pure functions declared
// below (each in its own file) so that it can be exercised without a window system.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vellum {

// A rectangle in pixels; right and bottom are exclusive.
struct GeoRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const GeoRect&) const = default;
};

struct GeoSize {
  int32_t width = 0, height = 0;
  bool operator==(const GeoSize&) const = default;
};

// One window-size preset of the menu and the settings dialog.
struct WindowPreset {
  int32_t width = 0, height = 0;
  std::string label;  // "%4dx%4d", with "(等倍)" (GBK) when the width equals Resolution
};

constexpr int kWindowPresets = 10;
using WindowPresets = std::array<WindowPreset, kWindowPresets>;

// Full-screen modes: 0 "Full1" (800x600 display change), 1 "Full2" (stretch), 2 "Original" (1:1
// centred), 3 "Normal" (fit), 4 "Zoom" (fill, panned). Src/Dest are kept for 1..4; index 0 unused.
constexpr int kFullModes = 5;

struct ScreenGeometry {
  // The scripts' coordinate space.
  int32_t gameW = 0, gameH = 0;
  // gameW:gameH in lowest terms (as the presets were built).
  int32_t aspectA = 0, aspectB = 0;
  // Resolution / gameW; getScreenRate reports it x100.
  float scale = 1.0f;
  // The back buffer: round(game size x scale); renderW equals Resolution.
  int32_t renderW = 0, renderH = 0;
  float aspect = 1.0f;  // renderW / renderH
  // Ratios to the reference width of the set-up's third argument, for the sprite code.
  float refToGame = 1.0f;        // refW / gameW
  float gameToRef = 1.0f;        // gameW / refW
  float resolutionToRef = 1.0f;  // Resolution / refW
  float halfGameW = 0, halfGameH = 0, halfRenderW = 0, halfRenderH = 0;

  // Window frame: outer size = client size (WindowWidth x WindowHeight) + frame extents.
  int32_t frameW = 0, frameH = 0, captionH = 0;
  int32_t outerW = 0, outerH = 0;

  // The monitor nearest the window (its full rectangle, not the work area).
  int32_t monLeft = 0, monTop = 0, monW = 0, monH = 0;
  int32_t refreshRate = 0;  // Hz, 0 when unknown

  std::array<GeoRect, kFullModes> src{}, dest{};
  int32_t fitW = 0, fitH = 0;    // mode 3 destination size
  int32_t fillW = 0, fillH = 0;  // mode 4 destination size
  int32_t panMinX = 0, panMinY = 0;  // mode 4 pan limits (<= 0)

  // Largest client size with the render aspect that fits on the monitor.
  int32_t maxClientW = 0, maxClientH = 0;

  // 1 when the 16:9 / 4:3 switch is offered (getScreenAspect2).
  int32_t aspectSwitchable = 0;
  // renderW x renderH, for the renderer's budgets.
  int64_t screenPixels = 0;

  WindowPresets presets{};
};

ScreenGeometry& screenGeometry();
void resetScreenGeometry();

// ---- render size and ratios (render_size.cpp) -------------------------------------------------

struct RenderSize {
  float scale = 1.0f;
  int32_t renderW = 0, renderH = 0;
  float aspect = 1.0f;
};
// scale = resolution / gameW, render size rounded, aspect = renderW / renderH. A game width of 0
// or less gives scale 1 (no scaling); a render height of 0 gives aspect 1.
RenderSize computeRenderSize(int32_t gameW, int32_t gameH, int32_t resolution);

struct ReferenceRatios {
  float refToGame = 1.0f, gameToRef = 1.0f, resolutionToRef = 1.0f;
};
// Ratios whose divisor is 0 are 1.
ReferenceRatios computeReferenceRatios(int32_t gameW, int32_t refW, int32_t resolution);

// getScreenRate: scale x 100 truncated.
int32_t screenRate(float scale);
// getScreenHeight: gameH x renderW / gameW (integer); 0 for a game width of 0.
int32_t screenHeightForWidth(int32_t gameW, int32_t gameH, int32_t renderW);

// ---- aspect and presets (window_presets.cpp) --------------------------------------------------

struct AspectRatio {
  int32_t a = 0, b = 0;
  bool operator==(const AspectRatio&) const = default;
};
// w:h in lowest terms; a side of 0 or less gives 0:0 (an aspect of its own, "anything else").
AspectRatio reduceAspect(int32_t w, int32_t h);
bool isWideAspect(AspectRatio r);  // 16:9
bool isTallAspect(AspectRatio r);  // 9:16

// The ScreenAspect value the set-up uses: with the switch offered, every aspect but 16:9 and 9:16
// is held at 1; 16:9 and 9:16 keep the stored value.
int32_t effectiveScreenAspect(AspectRatio r, int32_t aspectSwitchable, int32_t storedScreenAspect);
// The game height after the aspect switch: a 16:9 game becomes 4:3 (gameW x 3/4) and a 9:16 game
// 3:4 (gameW x 4/3) when screenAspect is 1; every other game keeps its height.
int32_t switchedGameHeight(int32_t gameW, int32_t gameH, int32_t screenAspect);

// The ten presets for the game's aspect, labelled; the label of each preset whose width equals
// resolution gets "(等倍)" (GBK) appended.
WindowPresets buildWindowPresets(int32_t gameW, int32_t gameH, int32_t screenAspect, int32_t resolution);
// "%4dx%4d", without a length limit.
std::string presetLabel(int32_t width, int32_t height);

// WindowHeight from WindowWidth by the game's aspect (the set-up's rule): 16:9 and 4:3 games take
// x9/16 (screenAspect 0) or x3/4 (1); 9:16 and 3:4 games x16/9 or x4/3; others x gameH/gameW
// (0 for a game width of 0).
int32_t windowHeightForWidth(int32_t windowW, int32_t gameW, int32_t gameH, int32_t screenAspect);

// ---- monitor geometry (monitor_geometry.cpp) --------------------------------------------------

struct MonitorInfo {
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t refreshRate = 0;  // Hz, 0 when unknown
};

struct FullScreenLayout {
  std::array<GeoRect, kFullModes> src{}, dest{};
  int32_t fitW = 0, fitH = 0, fillW = 0, fillH = 0;
  int32_t panMinX = 0, panMinY = 0;
};
// Src/Dest for modes 1..4 of a render size on a monitor size. A zero render side shows nothing
// (every destination empty at the monitor's centre); a zero monitor side gives empty destinations.
FullScreenLayout computeFullScreenLayout(int32_t renderW, int32_t renderH, int32_t monW, int32_t monH);

// The largest client size with the render aspect that fits on the monitor, from the mode-3 fit
// size and the frame extents (never negative).
GeoSize computeMaxClientSize(int32_t fitW, int32_t fitH, int32_t frameW, int32_t frameH, int32_t renderW,
                             int32_t renderH, int32_t monW, int32_t monH);

// Whether an outer window size fits strictly inside the monitor.
bool outerFitsMonitor(int32_t outerW, int32_t outerH, int32_t monW, int32_t monH);

// ---- frame extents (frame_extents.cpp) --------------------------------------------------------

// What the window system reports about window frames.
struct FrameMetrics {
  int32_t fixedX = 0, fixedY = 0;    // fixed-size frame, per side
  int32_t sizingX = 0, sizingY = 0;  // resizable frame, per side
  int32_t captionHeight = 0;
  int32_t menuHeight = 0;
};
struct FrameExtents {
  int32_t frameW = 0, frameH = 0, captionH = 0;
  bool operator==(const FrameExtents&) const = default;
};
FrameExtents computeFrameExtents(const FrameMetrics& m, int32_t windowChange, bool menuAttached);
// How far the window's outer corner moves when WindowChange switches between the sizing and the
// fixed frame, so that the client area stays where it was (add to ClientLeft/ClientTop).
GeoSize frameChangeShift(const FrameMetrics& m, int32_t oldWindowChange, int32_t newWindowChange);

// ---- frame pacing (frame_pacing.cpp) ----------------------------------------------------------

struct FramePacing {
  int32_t milliseconds = 0, frames = 0;  // frames per milliseconds; 0/0 disables the wait
  bool operator==(const FramePacing&) const = default;
};
// 1000/g and rate/g with g = gcd(1000, rate); a rate of 0 or less disables pacing.
FramePacing framePacingFor(int32_t rate);

// ---- interactive sizing (edge_sizing.cpp) -----------------------------------------------------

// The edge being dragged (the window system's sizing-edge codes).
enum class SizingEdge : int32_t {
  Left = 1, Right = 2, Top = 3, TopLeft = 4, TopRight = 5, Bottom = 6, BottomLeft = 7, BottomRight = 8
};

struct SizingLimits {
  float aspect = 1.0f;  // <= 0 is taken as 1
  int32_t frameW = 0, frameH = 0;
  GeoSize minimum;  // preset 0
  GeoSize maximum;  // maxClientW x maxClientH
  // Leaving the maximised state: fit the height to the width first (by moving the bottom edge).
  bool refitHeightFirst = false;
};
// The outer rectangle while an edge is dragged: snapped to the minimum or maximum client size, or
// corrected so the client keeps the aspect.
GeoRect sizeKeepingAspect(SizingEdge edge, GeoRect proposed, const SizingLimits& limits);

struct PositionChange {
  int32_t x = 0, y = 0, cx = 0, cy = 0;  // outer position and size
  bool widthCorrected = false, heightCorrected = false;
  GeoSize client;  // client size after correction
};
// A proposed outer size corrected to the aspect (the window-position notification), unless it
// already has the current client size or a negative client side.
PositionChange correctToAspect(PositionChange proposed, GeoSize currentClient, float aspect, int32_t frameW,
                               int32_t frameH);

// ---- zoom panning (zoom_panning.cpp) ----------------------------------------------------------

// Moves Dest[4] towards the edge the cursor (screen pixels) is near, by 4 pixels or by the 1 that
// is left before the limit. Returns the number of moves (0-2), each one redraw request.
int panZoomDestination(GeoRect& dest, int32_t cursorX, int32_t cursorY, int32_t monLeft, int32_t monTop, int32_t monW,
                        int32_t monH, int32_t panMinX, int32_t panMinY);

// ---- letterbox (letterbox.cpp) ----------------------------------------------------------------

// The bars around the picture in the client rectangle (top, bottom, left, right; empty ones
// left out).
struct LetterboxBars {
  std::array<GeoRect, 4> bars{};
  int count = 0;
};
LetterboxBars letterboxBars(GeoRect client, GeoRect picture);
// Modes 2 and 3 paint the bars.
bool modeHasLetterbox(int32_t fullScreen, int32_t fullMode);

// ---- other windows around the 800x600 change (window_placement.cpp) ---------------------------

// A saved window's normal rectangle re-fitted to its monitor's new full rectangle: too big → the
// new rectangle; otherwise shifted by the change of the right and bottom edges, and kept on the
// monitor (a shift never pushes it past the left or top edge).
GeoRect refitPlacement(GeoRect normal, GeoRect oldMonitor, GeoRect newMonitor);

// ---- image cache (cache_size.cpp) -------------------------------------------------------------

// CacheMaxSize in bytes when CacheAutoSize is set, from total physical memory: > 1 GiB → 512 MiB,
// > 512 MiB → 256 MiB, >= 256 MiB → configured − 192 MiB (never below 0), less → 0.
int64_t defaultImageCacheSize(int64_t totalPhysicalBytes, int64_t configuredBytes);

// ---- safe arithmetic (geometry_math.cpp) -------------------------------------------------------

// a x b / c in 64 bits, truncated toward zero; 0 when c is 0 (and clamped to the int32 range).
int32_t mulDiv(int64_t a, int64_t b, int64_t c);
// a / b as a float; `fallback` when b is 0.
float ratioOr(float a, float b, float fallback);

// ---- the process-wide record (screen_geometry.cpp) --------------------------------------------

// The set-up's flag 8 withholds the aspect switch.
int32_t aspectSwitchableForFlags(int32_t screenFlags);

// Rebuilds the presets from the game size (reducing it to a:b), holding ScreenAspect at 1 for
// games that are not 16:9 or 9:16 when aspectSwitchable is set.
void rebuildWindowPresets(int32_t gameW, int32_t gameH, int32_t aspectSwitchable);
// The ratios to the set-up's reference width.
void setReferenceRatios(int32_t gameW, int32_t refW);
// Geometry set-up: presets; with aspectSwitchable and ScreenAspect 1 the switched game height;
// game size, scale, render size, half sizes, aspect, pixel count (Resolution from the settings);
// then the client size (WindowWidth x WindowHeight when both are set, else the render size).
// The caller follows with applyFrameExtents and updateMonitorGeometry.
void setUpGeometry(int32_t gameW, int32_t gameH, int32_t aspectSwitchable);
// Stores the frame extents and the outer size that follows from them.
void applyFrameExtents(const FrameExtents& extents);
// Monitor geometry: the monitor rectangle, Src/Dest, fit/fill, pan limits, the largest client size;
// when windowed and the outer window does not fit strictly inside the monitor, the client size
// shrinks to the largest one. With LimitFPS 0 the frame pacing follows the refresh rate.
void updateMonitorGeometry(const MonitorInfo& monitor);
// Stores WindowWidth/WindowHeight (a 0 keeps that side) and the outer size.
void setClientSize(int32_t w, int32_t h);
// The sizing limits of the current geometry: its aspect and frame, preset 0, the largest client.
SizingLimits currentSizingLimits(bool refitHeightFirst);
// Zoom-mode panning of Dest[4] for a cursor at screen position (x, y); returns the moves made.
int panZoomView(int32_t x, int32_t y);

}  // namespace vellum
