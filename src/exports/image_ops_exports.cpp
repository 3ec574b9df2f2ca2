// The image-processing exports forward to the library in namespace vellum.
#include "image/ops/image_ops.h"
#include "vellum/exports.h"

int color2colorImage(Image* image, uint32_t from, uint32_t to, int kind) {
  return vellum::color2colorImage(image, from, to, kind);
}
int clippingImage(Image** out, const Image* image, int x, int y, int width, int height) {
  return vellum::clippingImage(out, image, x, y, width, height);
}
int clippingImage2(Image** image, int x, int y, int width, int height) {
  return vellum::clippingImage2(image, x, y, width, height);
}
int eraseImage(Image* image, int x, int y, int width, int height) { return vellum::eraseImage(image, x, y, width, height); }
int trimmingImage(Image** out, const Image* image, int alphaThreshold, int margin, int byColour) {
  return vellum::trimmingImage(out, image, alphaThreshold, margin, byColour);
}
int trimmingImage2(Image** image, int alphaThreshold, int margin, int byColour) {
  return vellum::trimmingImage2(image, alphaThreshold, margin, byColour);
}
int flipHorizontalImage(Image** out, const Image* image) { return vellum::flipHorizontalImage(out, image); }
int flipVerticalImage(Image** out, const Image* image) { return vellum::flipVerticalImage(out, image); }
int flipHorizontalImage2(Image** image) { return vellum::flipHorizontalImage2(image); }
int flipVerticalImage2(Image** image) { return vellum::flipVerticalImage2(image); }
int negaposiImage(Image* image) { return vellum::negaposiImage(image); }
int grayscalImage(Image* image) { return vellum::grayscalImage(image); }
int bcImage(Image* image, int brightness, int contrast) { return vellum::bcImage(image, brightness, contrast); }
int colorImage(Image* image, int red, int green, int blue) { return vellum::colorImage(image, red, green, blue); }
int hslImage(Image* image, int hue, int saturation, int lightness) {
  return vellum::hslImage(image, hue, saturation, lightness);
}
int blurImage(Image* image, int xRadius, int yRadius) { return vellum::blurImage(image, xRadius, yRadius); }
int mosaicImage(Image* image, int blockWidth, int blockHeight) {
  return vellum::mosaicImage(image, blockWidth, blockHeight);
}
int differenceImage(Image** base, const Image* other, int flags, int tolerance) {
  return vellum::differenceImage(base, other, flags, tolerance);
}
int compositeImage(Image** base, const Image* layer, int mode, int x, int y, int expand) {
  return vellum::compositeImage(base, layer, mode, x, y, expand);
}
int blendImage(Image** base, const Image* layer, int mode, int x, int y, int opacity, int expand) {
  return vellum::blendImage(base, layer, mode, x, y, opacity, expand);
}
int copyImage(Image** out, const Image* image) { return vellum::copyImage(out, image); }
int resizeImage(Image** out, const Image* image, double a, double b, int kind, int shrinkFilter, int enlargeFilter) {
  return vellum::resizeImage(out, image, a, b, kind, shrinkFilter, enlargeFilter);
}
int resizeImage2(Image** image, double a, double b, int kind, int shrinkFilter, int enlargeFilter) {
  return vellum::resizeImage2(image, a, b, kind, shrinkFilter, enlargeFilter);
}
int rotateImage(Image** out, const Image* image, double degrees, double scale, int filter) {
  return vellum::rotateImage(out, image, degrees, scale, filter);
}
int rotateImage2(Image** image, double degrees, double scale, int filter) {
  return vellum::rotateImage2(image, degrees, scale, filter);
}
int DurtyTransparency(Image* image, int bleedPasses) { return vellum::DurtyTransparency(image, bleedPasses); }
int colImage(Image* image, int mode, uint32_t colour) { return vellum::colImage(image, mode, colour); }
