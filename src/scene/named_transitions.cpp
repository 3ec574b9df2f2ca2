// The 74 named transitions: one table of names with the shape each draws at a moment, and the four
// frames that draw the shapes (copies of the render surface, scrolls, fading slides and fading
// scrolls).
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "scene/easing.h"
#include "scene/transition_drawing.h"
#include "scene/transition_scenes.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

using gpu::Rect;

// The moment of a frame: elapsed E, duration D, remaining R = D - E, easing e, and the size.
struct Moment {
  int64_t elapsed, duration, remaining;
  int32_t easing;
  int32_t w, h, halfW, halfH;
  // P(m, E, e), P(m, R, -e) and the band irises' P(m, R, e); Pf likewise.
  int32_t pE(int32_t m) const { return progress(m, elapsed, duration, easing); }
  int32_t pR(int32_t m) const { return progress(m, remaining, duration, -easing); }
  int32_t pRSame(int32_t m) const { return progress(m, remaining, duration, easing); }
  float fE(int32_t m) const { return progressF(m, elapsed, duration, easing); }
  float fR(int32_t m) const { return progressF(m, remaining, duration, -easing); }
};

struct Copy {
  Rect from, to;
};

// What a named transition draws at a moment.
struct Shape {
  std::vector<Copy> copies;     // copy frames; scrolls: the before part, then the after part
  float x = 0, y = 0;           // fading slides and scrolls: the moving picture's offset
  float entryX = 0, entryY = 0; // fading scrolls: where the after picture enters from
  int32_t alpha = 255;
  void add(const Rect& r) { copies.push_back({r, r}); }
  void add(const Rect& from, const Rect& to) { copies.push_back({from, to}); }
};

enum class Frame { Copy, Scroll, FadeSlide, FadeScroll };

struct NamedTransition {
  const char* name;
  Frame frame;
  bool after;  // copy frames: the copied picture is the after picture; fading slides: the moving one
  void (*shape)(const Moment&, Shape&);
};

// Diagonal wipe: rows of width X - y·X/Y (cut to W) at the left or right edge, rows of equal width
// merged into one copy.
void diagonal(const Moment& m, Shape& s, int32_t bigX, int32_t bigY, bool anchoredRight) {
  if (bigY <= 0) return;
  const int32_t rows = std::min(m.h, bigY);
  int32_t start = 0, width = -1;
  const auto flush = [&](int32_t end) {
    if (width > 0 && end > start) s.add(anchoredRight ? Rect{m.w - width, start, m.w, end} : Rect{0, start, width, end});
  };
  for (int32_t y = 0; y < rows; ++y) {
    const int32_t wy = std::clamp(static_cast<int32_t>(bigX - static_cast<int64_t>(y) * bigX / bigY), 0, m.w);
    if (wy != width) {
      flush(y);
      start = y;
      width = wy;
    }
  }
  flush(rows);
}

// Shutters: 20 strips of q rows (columns), each growing by h from one edge.
void shutter(const Moment& m, Shape& s, bool vertical, bool fromEnd) {
  const int32_t q = (vertical ? m.h : m.w) / 20;
  const int32_t h = m.pE(q);
  for (int32_t k = 1; k <= 20; ++k) {
    const int32_t a = fromEnd ? k * q - h : (k - 1) * q, b = fromEnd ? k * q : (k - 1) * q + h;
    s.add(vertical ? Rect{0, a, m.w, b} : Rect{a, 0, b, m.h});
  }
}

// Curtains: strip i starts a little after strip i - 1, so the strips move as a wave.
void curtain(const Moment& m, Shape& s, bool vertical, bool fromEnd) {
  const int32_t side = vertical ? m.h : m.w;
  const int32_t q = side / 20;
  if (side <= 0) return;
  for (int32_t i = 0; i < 20; ++i) {
    int32_t hi = m.pE(2 * q) - static_cast<int32_t>(static_cast<int64_t>(i) * q * q / side);
    if (hi < 0) continue;
    hi = std::min(hi, q);
    const int32_t a = fromEnd ? side - i * q - hi : i * q, b = fromEnd ? side - i * q : i * q + hi;
    s.add(vertical ? Rect{0, a, m.w, b} : Rect{a, 0, b, m.h});
  }
}

Rect centred(const Moment& m, int32_t w, int32_t h) {
  return {(m.w - w) / 2, (m.h - h) / 2, (m.w - w) / 2 + w, (m.h - h) / 2 + h};
}

// sx, sy and the split slides' tx, ty.
int32_t sx(const Moment& m) { return m.pE(m.w); }
int32_t sy(const Moment& m) { return m.pE(m.h); }
int32_t tx(const Moment& m) { return m.pE(m.halfW); }
int32_t ty(const Moment& m) { return m.pE(m.halfH); }

constexpr bool kAfter = true, kBefore = false;

const NamedTransition kNamed[] = {
    // Wipes.
    {"DirectionUp", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({0, m.pR(m.h), m.w, m.h}); }},
    {"DirectionDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({0, 0, m.w, m.pE(m.h)}); }},
    {"DirectionLeft", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({m.pR(m.w), 0, m.w, m.h}); }},
    {"DirectionRight", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({0, 0, m.pE(m.w), m.h}); }},
    {"DirectionLeftUp", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { diagonal(m, s, m.pR(2 * m.w), m.pR(2 * m.h), false); }},
    {"DirectionRightUp", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { diagonal(m, s, m.pR(2 * m.w), m.pR(2 * m.h), true); }},
    {"DirectionLeftDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { diagonal(m, s, m.pE(2 * m.w), m.pE(2 * m.h), true); }},
    {"DirectionRightDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { diagonal(m, s, m.pE(2 * m.w), m.pE(2 * m.h), false); }},
    // Irises and squares.
    {"IrisInLeftUp", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({m.pR(m.w), m.pR(m.h), m.w, m.h}); }},
    {"IrisInRightUp", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({0, m.pR(m.h), m.pE(m.w), m.h}); }},
    {"IrisInLeftDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({m.pR(m.w), 0, m.w, m.pE(m.h)}); }},
    {"IrisInRightDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add({0, 0, m.pE(m.w), m.pE(m.h)}); }},
    {"IrisOutLeftUp", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add({0, 0, m.pR(m.w), m.pR(m.h)}); }},
    {"IrisOutRightUp", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add({m.pE(m.w), 0, m.w, m.pR(m.h)}); }},
    {"IrisOutLeftDown", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add({0, m.pE(m.h), m.pR(m.w), m.h}); }},
    {"IrisOutRightDown", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add({m.pE(m.w), m.pE(m.h), m.w, m.h}); }},
    {"IrisInUpDown", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add(centred(m, m.w, m.pRSame(m.h))); }},
    {"IrisOutUpDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add(centred(m, m.w, m.pE(m.h))); }},
    {"IrisInLeftRight", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add(centred(m, m.pRSame(m.w), m.h)); }},
    {"IrisOutLeftRight", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add(centred(m, m.pE(m.w), m.h)); }},
    {"SquareIn", Frame::Copy, kBefore, [](const Moment& m, Shape& s) { s.add(centred(m, m.pR(m.w), m.pR(m.h))); }},
    {"SquareOut", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { s.add(centred(m, m.pE(m.w), m.pE(m.h))); }},
    // Slides.
    {"SlideInUp", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({0, 0, m.w, sy(m)}, {0, m.h - sy(m), m.w, m.h}); }},
    {"SlideInDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({0, m.h - sy(m), m.w, m.h}, {0, 0, m.w, sy(m)}); }},
    {"SlideInLeft", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({0, 0, sx(m), m.h}, {m.w - sx(m), 0, m.w, m.h}); }},
    {"SlideInRight", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({m.w - sx(m), 0, m.w, m.h}, {0, 0, sx(m), m.h}); }},
    {"SlideOutUp", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({0, sy(m), m.w, m.h}, {0, 0, m.w, m.h - sy(m)}); }},
    {"SlideOutDown", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({0, 0, m.w, m.h - sy(m)}, {0, sy(m), m.w, m.h}); }},
    {"SlideOutLeft", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({sx(m), 0, m.w, m.h}, {0, 0, m.w - sx(m), m.h}); }},
    {"SlideOutRight", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({0, 0, m.w - sx(m), m.h}, {sx(m), 0, m.w, m.h}); }},
    {"SlideInLeftUp", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({0, 0, sx(m), sy(m)}, {m.w - sx(m), m.h - sy(m), m.w, m.h}); }},
    {"SlideInRightUp", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({m.w - sx(m), 0, m.w, sy(m)}, {0, m.h - sy(m), sx(m), m.h}); }},
    {"SlideInLeftDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({0, m.h - sy(m), sx(m), m.h}, {m.w - sx(m), 0, m.w, sy(m)}); }},
    {"SlideInRightDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) { s.add({m.w - sx(m), m.h - sy(m), m.w, m.h}, {0, 0, sx(m), sy(m)}); }},
    {"SlideOutLeftUp", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({sx(m), sy(m), m.w, m.h}, {0, 0, m.w - sx(m), m.h - sy(m)}); }},
    {"SlideOutRightUp", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({0, sy(m), m.w - sx(m), m.h}, {sx(m), 0, m.w, m.h - sy(m)}); }},
    {"SlideOutLeftDown", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({sx(m), 0, m.w, m.h - sy(m)}, {0, sy(m), m.w - sx(m), m.h}); }},
    {"SlideOutRightDown", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) { s.add({0, 0, m.w - sx(m), m.h - sy(m)}, {sx(m), sy(m), m.w, m.h}); }},
    {"SlideInUpDown", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({0, m.halfH - ty(m), m.w, m.halfH}, {0, 0, m.w, ty(m)});
       s.add({0, m.halfH, m.w, m.halfH + ty(m)}, {0, m.h - ty(m), m.w, m.h});
     }},
    {"SlideOutUpDown", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) {
       s.add({0, ty(m), m.w, m.halfH}, {0, 0, m.w, m.halfH - ty(m)});
       s.add({0, m.halfH, m.w, m.h - ty(m)}, {0, m.halfH + ty(m), m.w, m.h});
     }},
    {"SlideInLeftRight", Frame::Copy, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({m.halfW - tx(m), 0, m.halfW, m.h}, {0, 0, tx(m), m.h});
       s.add({m.halfW, 0, m.halfW + tx(m), m.h}, {m.w - tx(m), 0, m.w, m.h});
     }},
    {"SlideOutLeftRight", Frame::Copy, kBefore,
     [](const Moment& m, Shape& s) {
       s.add({tx(m), 0, m.halfW, m.h}, {0, 0, m.halfW - tx(m), m.h});
       s.add({m.halfW, 0, m.w - tx(m), m.h}, {m.halfW + tx(m), 0, m.w, m.h});
     }},
    // Scrolls: the before picture's part, then the after picture's.
    {"ScrollUp", Frame::Scroll, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({0, sy(m), m.w, m.h}, {0, 0, m.w, m.h - sy(m)});
       s.add({0, 0, m.w, sy(m)}, {0, m.h - sy(m), m.w, m.h});
     }},
    {"ScrollDown", Frame::Scroll, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({0, 0, m.w, m.h - sy(m)}, {0, sy(m), m.w, m.h});
       s.add({0, m.h - sy(m), m.w, m.h}, {0, 0, m.w, sy(m)});
     }},
    {"ScrollLeft", Frame::Scroll, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({sx(m), 0, m.w, m.h}, {0, 0, m.w - sx(m), m.h});
       s.add({0, 0, sx(m), m.h}, {m.w - sx(m), 0, m.w, m.h});
     }},
    {"ScrollRight", Frame::Scroll, kAfter,
     [](const Moment& m, Shape& s) {
       s.add({0, 0, m.w - sx(m), m.h}, {sx(m), 0, m.w, m.h});
       s.add({m.w - sx(m), 0, m.w, m.h}, {0, 0, sx(m), m.h});
     }},
    // Shutters and curtains.
    {"ShutterUp", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { shutter(m, s, true, true); }},
    {"ShutterDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { shutter(m, s, true, false); }},
    {"ShutterLeft", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { shutter(m, s, false, true); }},
    {"ShutterRight", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { shutter(m, s, false, false); }},
    {"CurtainUp", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { curtain(m, s, true, true); }},
    {"CurtainDown", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { curtain(m, s, true, false); }},
    {"CurtainLeft", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { curtain(m, s, false, true); }},
    {"CurtainRight", Frame::Copy, kAfter, [](const Moment& m, Shape& s) { curtain(m, s, false, false); }},
    // Fading slides: In moves the after picture in over the before one, Out the before one away.
    {"FadeSlideInUp", Frame::FadeSlide, kAfter, [](const Moment& m, Shape& s) { s.y = m.fR(m.h); }},
    {"FadeSlideInDown", Frame::FadeSlide, kAfter, [](const Moment& m, Shape& s) { s.y = -m.fR(m.h); }},
    {"FadeSlideInLeft", Frame::FadeSlide, kAfter, [](const Moment& m, Shape& s) { s.x = m.fR(m.w); }},
    {"FadeSlideInRight", Frame::FadeSlide, kAfter, [](const Moment& m, Shape& s) { s.x = -m.fR(m.w); }},
    {"FadeSlideOutUp", Frame::FadeSlide, kBefore, [](const Moment& m, Shape& s) { s.y = -m.fE(m.h); }},
    {"FadeSlideOutDown", Frame::FadeSlide, kBefore, [](const Moment& m, Shape& s) { s.y = m.fE(m.h); }},
    {"FadeSlideOutLeft", Frame::FadeSlide, kBefore, [](const Moment& m, Shape& s) { s.x = -m.fE(m.w); }},
    {"FadeSlideOutRight", Frame::FadeSlide, kBefore, [](const Moment& m, Shape& s) { s.x = m.fE(m.w); }},
    {"FadeSlideInLeftUp", Frame::FadeSlide, kAfter,
     [](const Moment& m, Shape& s) { s.x = m.fR(m.w), s.y = m.fR(m.h); }},
    {"FadeSlideInRightUp", Frame::FadeSlide, kAfter,
     [](const Moment& m, Shape& s) { s.x = -m.fR(m.w), s.y = m.fR(m.h); }},
    {"FadeSlideInLeftDown", Frame::FadeSlide, kAfter,
     [](const Moment& m, Shape& s) { s.x = m.fR(m.w), s.y = -m.fR(m.h); }},
    {"FadeSlideInRightDown", Frame::FadeSlide, kAfter,
     [](const Moment& m, Shape& s) { s.x = -m.fR(m.w), s.y = -m.fR(m.h); }},
    {"FadeSlideOutLeftUp", Frame::FadeSlide, kBefore,
     [](const Moment& m, Shape& s) { s.x = -m.fE(m.w), s.y = -m.fE(m.h); }},
    {"FadeSlideOutRightUp", Frame::FadeSlide, kBefore,
     [](const Moment& m, Shape& s) { s.x = m.fE(m.w), s.y = -m.fE(m.h); }},
    {"FadeSlideOutLeftDown", Frame::FadeSlide, kBefore,
     [](const Moment& m, Shape& s) { s.x = -m.fE(m.w), s.y = m.fE(m.h); }},
    {"FadeSlideOutRightDown", Frame::FadeSlide, kBefore,
     [](const Moment& m, Shape& s) { s.x = m.fE(m.w), s.y = m.fE(m.h); }},
    // Fading scrolls: both pictures move; the after picture enters from the far side.
    {"FadeScrollUp", Frame::FadeScroll, kAfter,
     [](const Moment& m, Shape& s) { s.y = -m.fE(m.h), s.entryY = static_cast<float>(-m.h); }},
    {"FadeScrollDown", Frame::FadeScroll, kAfter,
     [](const Moment& m, Shape& s) { s.y = m.fE(m.h), s.entryY = static_cast<float>(m.h); }},
    {"FadeScrollLeft", Frame::FadeScroll, kAfter,
     [](const Moment& m, Shape& s) { s.x = -m.fE(m.w), s.entryX = static_cast<float>(-m.w); }},
    {"FadeScrollRight", Frame::FadeScroll, kAfter,
     [](const Moment& m, Shape& s) { s.x = m.fE(m.w), s.entryX = static_cast<float>(m.w); }},
};

constexpr int32_t kNamedCount = static_cast<int32_t>(sizeof(kNamed) / sizeof(kNamed[0]));
static_assert(kNamedCount == 74);

const std::unordered_map<uint32_t, int32_t>& namedByCrc() {
  static const std::unordered_map<uint32_t, int32_t> map = [] {
    std::unordered_map<uint32_t, int32_t> m;
    for (int32_t i = 0; i < kNamedCount; ++i) m[crc32Of(kNamed[i].name)] = i;
    return m;
  }();
  return map;
}

void drawPictureOf(bool after) {
  if (after) drawAfterPicture();
  else drawBeforePicture();
}

void copyFrame(const NamedTransition& t, const Shape& s) {
  if (!targetRenderSurface("SetRenderTarget Stretch 1 ")) return;
  drawPictureOf(t.after);
  if (!targetFrame("SetRenderTarget Stretch 2 ")) return;
  drawPictureOf(!t.after);
  for (const Copy& c : s.copies) copyFromRenderSurface(c.from, c.to);
}

void scrollFrame(const Shape& s) {
  if (s.copies.size() != 2) return;
  if (!targetRenderSurface("SetRenderTarget Stretch 1 ")) return;
  drawBeforePicture();
  copyFromRenderSurface(s.copies[0].from, s.copies[0].to);
  drawAfterPicture();
  if (!targetFrame("SetRenderTarget Stretch 2 ")) return;
  copyFromRenderSurface(s.copies[1].from, s.copies[1].to);
}

void fadeSlideFrame(const NamedTransition& t, const Shape& s, int32_t alpha) {
  if (!targetRenderSurface("SetRenderTarget Rotate 1 ")) return;
  drawPictureOf(t.after);
  if (!targetFrame("SetRenderTarget Rotate 2 ")) return;
  drawPictureOf(!t.after);
  drawRenderTexture(s.x, s.y, alpha);
}

void fadeScrollFrame(const Shape& s, int32_t alpha) {
  if (!targetRenderSurface("SetRenderTarget Rotate 1 ")) return;
  drawBeforePicture();
  if (!targetFrame("SetRenderTarget Rotate 2 ")) return;
  drawRenderTexture(0, 0, 255);
  drawRenderTexture(s.x, s.y, 255 - alpha);
  if (!targetRenderSurface("SetRenderTarget Rotate 1 ")) return;
  drawAfterPicture();
  if (!targetFrame("SetRenderTarget Rotate 2 ")) return;
  drawRenderTexture(s.x - s.entryX, s.y - s.entryY, alpha);
}

}  // namespace

int32_t findNamedTransition(std::string_view name) {
  const auto it = namedByCrc().find(crc32Of(name));
  return it == namedByCrc().end() ? -1 : it->second;
}

int32_t namedTransitionCount() { return kNamedCount; }

const char* namedTransitionName(int32_t index) {
  return index >= 0 && index < kNamedCount ? kNamed[index].name : "";
}

void namedScene(int32_t elapsed, int32_t duration, int32_t easing) {
  const int32_t selected = transitionState().selectedNamed;
  if (selected < 0 || selected >= kNamedCount) return;
  const NamedTransition& t = kNamed[selected];
  const TransitionSize size = transitionSize();
  const Moment m{elapsed, duration, static_cast<int64_t>(duration) - elapsed, easing, size.w, size.h, size.halfW, size.halfH};
  static thread_local Shape shape;
  shape = Shape{std::move(shape.copies)};
  shape.copies.clear();
  t.shape(m, shape);
  switch (t.frame) {
    case Frame::Copy: copyFrame(t, shape); break;
    case Frame::Scroll: scrollFrame(shape); break;
    case Frame::FadeSlide:
      fadeSlideFrame(t, shape, std::clamp(t.after ? m.pE(255) : m.pR(255), 0, 255));
      break;
    case Frame::FadeScroll: fadeScrollFrame(shape, std::clamp(m.pE(255), 0, 255)); break;
  }
}

}  // namespace vellum
