#include "placeholder_pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "image/image.h"
#include "image/image_io.h"
#include "tool_error.h"

namespace vellum::pack {

namespace {

// A colour as 0xAARRGGBB, the engine's pixel word.
using Argb = uint32_t;

int channel(Argb c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

Argb mix(Argb a, Argb b, double t) {
  Argb out = 0;
  for (const int shift : {0, 8, 16, 24}) {
    const double v = channel(a, shift) + (channel(b, shift) - channel(a, shift)) * t;
    out |= static_cast<Argb>(std::lround(v)) << shift;
  }
  return out;
}

// Lays `c` over `under` with coverage `cover` (0..1) times c's own alpha.
Argb over(Argb under, Argb c, double cover) {
  const double a = channel(c, 24) / 255.0 * std::clamp(cover, 0.0, 1.0);
  const double ua = channel(under, 24) / 255.0;
  const double oa = a + ua * (1 - a);
  if (oa <= 0) return 0;
  Argb out = static_cast<Argb>(std::lround(oa * 255)) << 24;
  for (const int shift : {0, 8, 16}) {
    const double v = (channel(c, shift) * a + channel(under, shift) * ua * (1 - a)) / oa;
    out |= static_cast<Argb>(std::lround(v)) << shift;
  }
  return out;
}

// A canvas of the engine's Image, freed with it.
class Canvas {
 public:
  Canvas(int width, int height) : image_(createImage(width, height, 32)) {
    if (!image_) throw ToolError("cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " picture");
  }
  ~Canvas() { freeImage(image_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return image_->width; }
  int height() const { return image_->height; }
  Argb& at(int x, int y) { return image_->pixels[static_cast<size_t>(y) * static_cast<size_t>(width()) + static_cast<size_t>(x)]; }

  // A top-to-bottom gradient over rows y0..y1 (y1 excluded).
  void verticalGradient(int y0, int y1, Argb top, Argb bottom) {
    for (int y = y0; y < y1; ++y) {
      const Argb c = mix(top, bottom, y1 - y0 > 1 ? static_cast<double>(y - y0) / (y1 - y0 - 1) : 0);
      for (int x = 0; x < width(); ++x) at(x, y) = c;
    }
  }

  // Paints `c` wherever `distance` (a signed distance to a shape's edge, negative inside, at pixel
  // centres) is inside, with a one-pixel soft edge.
  void shape(const std::function<double(double, double)>& distance, Argb c) {
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) {
        const double d = distance(x + 0.5, y + 0.5);
        if (d < 0.5) at(x, y) = over(at(x, y), c, 0.5 - d);
      }
  }

  std::vector<uint8_t> png(const std::string& name) {
    std::vector<uint8_t> out;
    SaveRequest request;
    request.format = SaveFormat::Png;
    request.option1 = 32;
    request.option2 = 9;
    if (!encodeImage(image_, request, name, out)) throw ToolError(name + ": the picture could not be encoded");
    return out;
  }

 private:
  Image* image_;
};

// Signed distance to a rectangle (x0, y0)-(x1, y1) with corners rounded by r.
std::function<double(double, double)> roundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double qx = std::abs(x - cx) - ((x1 - x0) / 2 - r), qy = std::abs(y - cy) - ((y1 - y0) / 2 - r);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

// The band of width w just inside a shape's edge.
std::function<double(double, double)> rim(std::function<double(double, double)> inside, double w) {
  return [=](double x, double y) {
    const double d = inside(x, y);
    return std::abs(d + w / 2) - w / 2;
  };
}

std::function<double(double, double)> circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

// A plate in the interface's style: a filled rounded rectangle with a light rim.
std::vector<uint8_t> plate(const std::string& name, int w, int h, double radius, Argb fill, Argb edge, double edgeWidth) {
  Canvas c(w, h);
  const auto body = roundRect(1, 1, w - 1, h - 1, radius);
  c.shape(body, fill);
  c.shape(rim(body, edgeWidth), edge);
  return c.png(name);
}

// A scene: a sky over a ground, meeting at the horizon.
std::vector<uint8_t> landscape(const std::string& name, Argb skyTop, Argb skyLow, Argb groundNear, Argb groundFar) {
  Canvas c(1280, 720);
  c.verticalGradient(0, 470, skyTop, skyLow);
  c.verticalGradient(470, 720, groundFar, groundNear);
  return c.png(name);
}

std::vector<uint8_t> titlePicture() {
  Canvas c(1280, 720);
  c.verticalGradient(0, 720, 0xFF1B2A44, 0xFF4D6688);
  c.shape([](double, double y) { return std::abs(y - 272) - 1.0; }, 0x80E8D9A8);  // a thin line under the title
  return c.png("title.png");
}

// A figure without a face: a robe widening to the ground and a head, anchored at its feet.
std::vector<uint8_t> characterPicture() {
  Canvas c(320, 560);
  c.shape(
      [](double x, double y) {
        const double top = 150, bottom = 560, half = 50 + (y - top) / (bottom - top) * 100;
        return std::max({top - y, y - bottom, std::abs(x - 160) - half});
      },
      0xFF593C77);
  c.shape(circle(160, 90, 60), 0xFFEFD3B5);
  return c.png("chara.png");
}

std::vector<uint8_t> solid(const std::string& name, int w, int h, Argb colour) {
  Canvas c(w, h);
  c.shape([](double, double) { return -1.0; }, colour);
  return c.png(name);
}

// The backlog's ground: the screen darkened, with a frame where a page's picture goes.
std::vector<uint8_t> logPanel() {
  Canvas c(1280, 720);
  c.shape([](double, double) { return -1.0; }, 0xFF080C16);
  c.shape(rim(roundRect(76, 56, 724, 424, 0.5), 3), 0xFFC8D4E8);
  return c.png("log_panel.png");
}

}  // namespace

std::vector<PlaceholderPicture> starterPictures() {
  const Argb rimColour = 0xFFC8D4E8;
  std::vector<PlaceholderPicture> pictures;
  pictures.push_back({"title.png", titlePicture()});
  pictures.push_back({"bg.png", landscape("bg.png", 0xFF94A8C6, 0xFFDDE6EF, 0xFF56684F, 0xFF8DA07F)});
  pictures.push_back({"bg2.png", landscape("bg2.png", 0xFFE9A46A, 0xFFF6D9A8, 0xFF4A3F52, 0xFF8A6A6A)});
  pictures.push_back({"chara.png", characterPicture()});
  pictures.push_back({"window.png", plate("window.png", 1080, 236, 18, 0xA0101828, 0xC0C8D4E8, 3)});
  pictures.push_back({"namebox.png", plate("namebox.png", 200, 44, 12, 0xF02C3E5C, rimColour, 2)});
  pictures.push_back({"btn_menu.png", plate("btn_menu.png", 260, 60, 16, 0xF02C3E5C, rimColour, 2)});
  pictures.push_back({"btn_small.png", plate("btn_small.png", 110, 44, 12, 0xF02C3E5C, rimColour, 2)});
  pictures.push_back({"choice.png", plate("choice.png", 560, 64, 20, 0xF02C3E5C, rimColour, 2)});
  pictures.push_back({"panel.png", plate("panel.png", 800, 560, 24, 0xFF0C1424, rimColour, 3)});
  pictures.push_back({"bar_track.png", solid("bar_track.png", 300, 16, 0xFF394861)});
  pictures.push_back({"bar_fill.png", solid("bar_fill.png", 300, 16, 0xFFE9C46A)});
  pictures.push_back({"blank.png", solid("blank.png", 1, 1, 0x00000000)});
  pictures.push_back({"log_panel.png", logPanel()});
  return pictures;
}

std::vector<uint8_t> defaultIconPng() {
  Canvas c(128, 128);
  c.shape(roundRect(4, 4, 124, 124, 24), 0xFF2C3E5C);
  c.shape(rim(roundRect(4, 4, 124, 124, 24), 4), 0xFFC8D4E8);
  // A bookmark ribbon: a page's corner folded over a strip.
  c.shape(
      [](double x, double y) {
        const double notch = 88 - std::abs(x - 64) * 0.6;
        return std::max({30 - y, y - notch, std::abs(x - 64) - 20});
      },
      0xFFE9C46A);
  return c.png("icon.png");
}

}  // namespace vellum::pack
