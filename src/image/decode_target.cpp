#include "image/decode_target.h"

#include <cstdint>
#include <string>

#include "image/codec_report.h"

namespace vellum {

namespace {

std::string sizeText(long long width, long long height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

bool pictureSizeFits(long long width, long long height) {
  if (width < 1 || height < 1) return false;
  const uint64_t bytes = static_cast<uint64_t>(width) * (static_cast<uint64_t>(height) + 1) * 4;
  return width <= INT32_MAX && height <= INT32_MAX && bytes <= INT32_MAX;
}

DecodeTarget::~DecodeTarget() { freeImage(made_); }

Image* DecodeTarget::announce(std::string_view codec, long long width, long long height, int bitsPerPixel) {
  if (width < 1 || height < 1) {
    reportBadPicture(codec, "the picture size " + sizeText(width, height) + " is not positive");
    return nullptr;
  }
  if (!pictureSizeFits(width, height)) {
    reportBadPicture(codec, "the picture size " + sizeText(width, height) + " is too large");
    return nullptr;
  }
  if (given_) {
    if (given_->width != width || given_->height != height || !given_->pixels) {
      reportBadPicture(codec, "the file holds " + sizeText(width, height) + " pixels but the Image is " +
                                  sizeText(given_->width, given_->height));
      return nullptr;
    }
    given_->bitsPerPixel = bitsPerPixel;
    announced_ = true;
    return given_;
  }
  freeImage(made_);
  made_ = createImage(static_cast<int>(width), static_cast<int>(height), bitsPerPixel);
  if (!made_) reportBadPicture(codec, "no memory for a picture of " + sizeText(width, height));
  return made_;
}

Image* DecodeTarget::release() {
  Image* image = made_;
  made_ = nullptr;
  return image;
}

}  // namespace vellum
