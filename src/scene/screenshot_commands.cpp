// setScreenShot and saveScreenShot: the one screenshot picture the engine holds, captured from the
// frame target (or rebuilt from the sprites' pictures while fast-forwarding) and written to a file.
#include "scene/screenshot.h"

#include <algorithm>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "image/image_io.h"
#include "image/ops/image_ops.h"
#include "persist/engine_settings.h"
#include "render/renderer.h"
#include "scene/scene_messages.h"
#include "scene/sprite_commands.h"
#include "scene/sprite_table.h"
#include "script/script_state.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

Image*& heldShot() {
  static Image* shot = nullptr;
  return shot;
}

Image* captureFrame(bool crop) {
  const RendererDisplay& d = rendererDisplay();
  if (!rendererReady()) return nullptr;
  Image* image = createImage(d.renderW, d.renderH, 24);
  if (!image) return nullptr;
  if (!getRenderImage(image->pixels, d.renderW, d.renderH)) {
    freeImage(image);
    return nullptr;
  }
  for (int32_t i = 0; i < image->pixelCount; ++i) image->pixels[i] |= 0xFF000000u;
  if (crop && clippingImage2(&image, 0, 0, d.renderW, d.renderW * 9 / 16) == 0) freeImage(image);
  return image;
}

// The visible cell of a sprite's kept pixels at its scale.
Image* cellOf(const SpritePicture& picture, const SpriteProperties& p) {
  Image* cell = nullptr;
  const int32_t cellRows = picture.cellRows();
  const int32_t cells = picture.cellColumns() * cellRows;
  const int32_t k = p.cell >= 0 && p.cell < cells ? p.cell : 0;
  if (!clippingImage(&cell, picture.pixels, (k / cellRows) * picture.cellW, (k % cellRows) * picture.cellH,
                     picture.cellW, picture.cellH))
    return nullptr;
  if ((p.scaleW != 1 || p.scaleH != 1) && p.scaleW > 0 && p.scaleH > 0) resizeImage2(&cell, p.scaleW, p.scaleH, 2, 1, 1);
  return cell;
}

// Without the device's picture: the screen's sprites drawn in list order from their pictures.
Image* rebuildFromSprites(bool crop) {
  const ScreenGeometry& g = screenGeometry();
  const int32_t w = g.gameW > 0 ? g.gameW : rendererDisplay().renderW;
  const int32_t h = crop ? w * 9 / 16 : (g.gameH > 0 ? g.gameH : rendererDisplay().renderH);
  Image* shot = createImage(w, h, 24);
  if (!shot) return nullptr;
  for (int32_t i = 0; i < shot->pixelCount; ++i) shot->pixels[i] = 0xFF000000u;
  auto list = spriteTable().lists.find(0);
  if (list == spriteTable().lists.end()) return shot;
  for (const auto& [key, n] : list->second) {
    Sprite& s = sprite(n);
    const SpriteImage& front = s.frontImage();
    const SpriteProperties& p = front.props;
    // Canvases and text sprites have no pixels of their own to draw.
    if (!front.picture.present() || !front.picture.pixels || (p.alpha & 0xFF) == 0) continue;
    Image* cell = cellOf(front.picture, p);
    if (!cell) continue;
    const int32_t x = static_cast<int32_t>(p.x) - p.anchorX * cell->width / 2;
    const int32_t y = static_cast<int32_t>(p.y) - p.anchorY * cell->height / 2;
    const int32_t alpha = p.alpha & 0xFF;
    blendImage(&shot, cell, 1, x, y, alpha == 255 ? 256 : alpha, 0);
    freeImage(cell);
  }
  shot->bitsPerPixel = 24;
  return shot;
}

int setScreenShotBody(void* call) {
  setCurrentCommandName("setScreenShot");
  takeScreenShot(args().getInt(call, 1), args().getInt(call, 2));
  args().returnNothing(call);
  return 1;
}

int saveScreenShotBody(void* call) {
  setCurrentCommandName("saveScreenShot");
  size_t length = 0;
  const char* name = args().getStringLength(call, 1, &length);
  saveHeldScreenShot(std::string(name ? name : "", name ? length : 0), args().getInt(call, 2), args().getInt(call, 3),
                     args().getInt(call, 4), args().getInt(call, 5));
  args().returnNothing(call);
  return 1;
}

}  // namespace

const Image* screenShot() { return heldShot(); }

Image* captureScreenPicture() { return captureFrame(false); }

void resetScreenShot() { freeImage(heldShot()); }

void takeScreenShot(int32_t width, int32_t height) {
  Image*& shot = heldShot();
  freeImage(shot);
  // Only a 16:9 game shown at 4:3 has a part below its own screen to cut off; other shapes keep
  // their whole capture even though their aspect setting also reads 1.
  const ScreenGeometry& g = screenGeometry();
  const bool crop = g.aspectSwitchable != 0 && settings().screenAspect == 1 && isWideAspect({g.aspectA, g.aspectB});
  if (scriptState().fastForwardMode == 0) shot = captureFrame(crop);
  if (!shot) shot = rebuildFromSprites(crop);
  if (!shot) {
    showErrorBox(ReportText(scene_messages::kScreenShotAlloc, CodePage::Gbk));
    return;
  }
  if ((width != shot->width || height != shot->height) && resizeImage2(&shot, width, height, 1, 2, 1) == 0) {
    // The size asked for gives no picture (reported): keep the capture at its own size.
  }
}

bool saveHeldScreenShot(const std::string& file, int32_t format, int32_t bits, int32_t level, int32_t option) {
  const auto report = [](const char* sjisText) { errorc(ReportText(sjisText, CodePage::ShiftJis), true); };
  if (bits != 0 && bits != 8 && bits != 24 && bits != 32) {
    report(scene_messages::kBadDepth);
    bits = 0;
  }
  if (format == 1) {
    if (level < 0 || level > 9) {
      report(scene_messages::kBadCompression);
      level = 9;
    }
    if (option != 0 && option != 1) {
      report(scene_messages::kBadPngOption);
      option = 0;
    }
  } else if (format == 2) {
    if (level < 0 || level > 100) {
      report(scene_messages::kBadQuality);
      level = 100;
    }
    if (option < 0 || option > 2) {
      report(scene_messages::kBadJpegOption);
      option = 1;
    }
  }
  SaveRequest request;
  request.format = static_cast<SaveFormat>(format);
  request.option1 = bits;
  request.option2 = level;
  request.option3 = option;
  return saveImage(file, heldShot(), request);
}

void provideScreenShotCommands() {
  provideCommand("setScreenShot", &setScreenShotBody);
  provideCommand("saveScreenShot", &saveScreenShotBody);
}

}  // namespace vellum
