// The one ScreenGeometry of the process and the operations that keep it.
#include "shell/display/screen_geometry.h"

#include "persist/engine_settings.h"

namespace vellum {

namespace {

ScreenGeometry theGeometry;

void refreshOuterSize(ScreenGeometry& g) {
  const EngineSettings& s = settings();
  g.outerW = s.windowWidth + g.frameW;
  g.outerH = s.windowHeight + g.frameH;
}

}  // namespace

ScreenGeometry& screenGeometry() { return theGeometry; }

void resetScreenGeometry() { theGeometry = ScreenGeometry{}; }

int32_t aspectSwitchableForFlags(int32_t screenFlags) { return (screenFlags & 8) ? 0 : 1; }

void rebuildWindowPresets(int32_t gameW, int32_t gameH, int32_t aspectSwitchable) {
  ScreenGeometry& g = theGeometry;
  EngineSettings& s = settings();
  const AspectRatio r = reduceAspect(gameW, gameH);
  g.aspectA = r.a;
  g.aspectB = r.b;
  s.screenAspect = effectiveScreenAspect(r, aspectSwitchable, s.screenAspect);
  g.presets = buildWindowPresets(gameW, gameH, s.screenAspect, s.resolution);
}

void setReferenceRatios(int32_t gameW, int32_t refW) {
  const ReferenceRatios r = computeReferenceRatios(gameW, refW, settings().resolution);
  theGeometry.refToGame = r.refToGame;
  theGeometry.gameToRef = r.gameToRef;
  theGeometry.resolutionToRef = r.resolutionToRef;
}

void setUpGeometry(int32_t gameW, int32_t gameH, int32_t aspectSwitchable) {
  ScreenGeometry& g = theGeometry;
  const EngineSettings& s = settings();
  rebuildWindowPresets(gameW, gameH, aspectSwitchable);
  if (aspectSwitchable) gameH = switchedGameHeight(gameW, gameH, s.screenAspect);

  g.gameW = gameW;
  g.gameH = gameH;
  const RenderSize r = computeRenderSize(gameW, gameH, s.resolution);
  g.scale = r.scale;
  g.renderW = r.renderW;
  g.renderH = r.renderH;
  g.aspect = r.aspect;
  g.halfGameW = static_cast<float>(gameW) / 2;
  g.halfGameH = static_cast<float>(gameH) / 2;
  g.halfRenderW = static_cast<float>(r.renderW) / 2;
  g.halfRenderH = static_cast<float>(r.renderH) / 2;
  g.screenPixels = static_cast<int64_t>(r.renderW) * r.renderH;

  if (s.windowWidth != 0 && s.windowHeight != 0) setClientSize(s.windowWidth, s.windowHeight);
  else setClientSize(r.renderW, r.renderH);
}

void applyFrameExtents(const FrameExtents& extents) {
  theGeometry.frameW = extents.frameW;
  theGeometry.frameH = extents.frameH;
  theGeometry.captionH = extents.captionH;
  refreshOuterSize(theGeometry);
}

void updateMonitorGeometry(const MonitorInfo& monitor) {
  ScreenGeometry& g = theGeometry;
  EngineSettings& s = settings();
  g.monLeft = monitor.left;
  g.monTop = monitor.top;
  g.monW = monitor.width;
  g.monH = monitor.height;
  g.refreshRate = monitor.refreshRate;

  const FullScreenLayout l = computeFullScreenLayout(g.renderW, g.renderH, g.monW, g.monH);
  g.src = l.src;
  g.dest = l.dest;
  g.fitW = l.fitW;
  g.fitH = l.fitH;
  g.fillW = l.fillW;
  g.fillH = l.fillH;
  g.panMinX = l.panMinX;
  g.panMinY = l.panMinY;

  const GeoSize most = computeMaxClientSize(g.fitW, g.fitH, g.frameW, g.frameH, g.renderW, g.renderH, g.monW, g.monH);
  g.maxClientW = most.width;
  g.maxClientH = most.height;

  refreshOuterSize(g);
  if (s.fullScreen == 0 && !outerFitsMonitor(g.outerW, g.outerH, g.monW, g.monH))
    setClientSize(g.maxClientW, g.maxClientH);

  if (s.limitFps == 0) {
    const FramePacing p = framePacingFor(monitor.refreshRate);
    s.pacingMilliseconds = p.milliseconds;
    s.pacingFrames = p.frames;
  }
}

void setClientSize(int32_t w, int32_t h) {
  EngineSettings& s = settings();
  if (w != 0) s.windowWidth = w;
  if (h != 0) s.windowHeight = h;
  refreshOuterSize(theGeometry);
}

SizingLimits currentSizingLimits(bool refitHeightFirst) {
  const ScreenGeometry& g = theGeometry;
  SizingLimits l;
  l.aspect = g.aspect;
  l.frameW = g.frameW;
  l.frameH = g.frameH;
  l.minimum = {g.presets[0].width, g.presets[0].height};
  l.maximum = {g.maxClientW, g.maxClientH};
  l.refitHeightFirst = refitHeightFirst;
  return l;
}

int panZoomView(int32_t x, int32_t y) {
  ScreenGeometry& g = theGeometry;
  return panZoomDestination(g.dest[4], x, y, g.monLeft, g.monTop, g.monW, g.monH, g.panMinX, g.panMinY);
}

}  // namespace vellum
