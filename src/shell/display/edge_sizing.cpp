// Keeping the window's aspect while the player drags its edges.
#include <cmath>

#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

int32_t roundHalfUp(double v) {
  const double r = std::floor(v + 0.5);
  if (r > 2147483647.0) return 2147483647;
  if (r < -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(r);
}

// Puts the outer rectangle at the given client size, keeping the edge opposite the dragged one.
void snapTo(SizingEdge edge, GeoRect& r, GeoSize client, const SizingLimits& l) {
  const int32_t w = client.width + l.frameW;
  const int32_t h = client.height + l.frameH;
  switch (edge) {
    case SizingEdge::Left:
    case SizingEdge::BottomLeft:
      r.left = r.right - w;
      r.bottom = r.top + h;
      break;
    case SizingEdge::Top:
    case SizingEdge::TopRight:
      r.right = r.left + w;
      r.top = r.bottom - h;
      break;
    case SizingEdge::TopLeft:
      r.left = r.right - w;
      r.top = r.bottom - h;
      break;
    case SizingEdge::Right:
    case SizingEdge::Bottom:
    case SizingEdge::BottomRight:
      r.right = r.left + w;
      r.bottom = r.top + h;
      break;
  }
}

}  // namespace

GeoRect sizeKeepingAspect(SizingEdge edge, GeoRect r, const SizingLimits& l) {
  const double aspect = l.aspect > 0.0f ? l.aspect : 1.0;
  int32_t cw = r.width() - l.frameW;
  int32_t ch = r.height() - l.frameH;
  if (l.refitHeightFirst) {
    ch = roundHalfUp(cw / aspect);
    r.bottom = r.top + ch + l.frameH;
  }

  if (cw < l.minimum.width || ch < l.minimum.height) {
    snapTo(edge, r, l.minimum, l);
    return r;
  }
  if (cw > l.maximum.width || ch > l.maximum.height) {
    snapTo(edge, r, l.maximum, l);
    return r;
  }

  // The client ratio compared with the aspect without dividing by the height: cw/ch < aspect.
  const double scaledHeight = ch * aspect;
  const bool narrower = cw < scaledHeight;
  const bool wider = cw > scaledHeight;
  const int32_t widthForHeight = roundHalfUp(scaledHeight) + l.frameW;
  const int32_t heightForWidth = roundHalfUp(cw / aspect) + l.frameH;
  switch (edge) {
    case SizingEdge::Left:
    case SizingEdge::Right: r.bottom = r.top + heightForWidth; break;
    case SizingEdge::Top:
    case SizingEdge::Bottom: r.right = r.left + widthForHeight; break;
    case SizingEdge::TopLeft:
      if (narrower) r.left = r.right - widthForHeight;
      else if (wider) r.top = r.bottom - heightForWidth;
      break;
    case SizingEdge::TopRight:
      if (narrower) r.right = r.left + widthForHeight;
      else if (wider) r.top = r.bottom - heightForWidth;
      break;
    case SizingEdge::BottomLeft:
      if (narrower) r.left = r.right - widthForHeight;
      else if (wider) r.bottom = r.top + heightForWidth;
      break;
    case SizingEdge::BottomRight:
      if (narrower) r.right = r.left + widthForHeight;
      else if (wider) r.bottom = r.top + heightForWidth;
      break;
  }
  return r;
}

PositionChange correctToAspect(PositionChange p, GeoSize currentClient, float aspectIn, int32_t frameW,
                               int32_t frameH) {
  const double aspect = aspectIn > 0.0f ? aspectIn : 1.0;
  int32_t cw = p.cx - frameW;
  int32_t ch = p.cy - frameH;
  p.widthCorrected = p.heightCorrected = false;
  if (cw >= 0 && ch >= 0 && (cw != currentClient.width || ch != currentClient.height)) {
    const double scaledHeight = ch * aspect;
    if (cw > scaledHeight) {
      cw = roundHalfUp(scaledHeight);
      p.cx = frameW + cw;
      p.widthCorrected = true;
    } else if (cw < scaledHeight) {
      ch = roundHalfUp(cw / aspect);
      p.cy = frameH + ch;
      p.heightCorrected = true;
    }
  }
  p.client = {cw, ch};
  return p;
}

}  // namespace vellum
