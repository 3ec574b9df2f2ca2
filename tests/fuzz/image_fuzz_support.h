// Shared body of the picture fuzz targets: decode with reports silenced, skipping pictures whose
// header promises more pixels than a fuzz run should allocate.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/report.h"
#include "image/image.h"
#include "image/image_format.h"
#include "image/image_io.h"

namespace vellum::fuzz {

constexpr long long kMaxFuzzPixels = 1 << 22;

struct QuietSink final : ReportSink {
  void errorBox(const ReportText&) override {}
  void outputLine(const ReportText&) override {}
};

inline void silenceReports() {
  static QuietSink sink;
  setReportSink(&sink);
}

// loadImage on the bytes, then loadImageData into a picture of the stated size (formats other
// than TLG). Data whose size cannot be read first is decoded only when `evenWithoutHeader`.
inline void decodePicture(const uint8_t* data, size_t size, bool evenWithoutHeader) {
  silenceReports();
  PictureHeader header{};
  const bool known = loadHeader(data, size, header);
  if (known && static_cast<long long>(header.width) * header.height > kMaxFuzzPixels) return;
  if (!known && !evenWithoutHeader) return;
  Image* image = loadImage(data, size);
  freeImage(image);
  if (known && detectImageFormat(data, size) != ImageFormat::Tlg) {
    Image* into = createImage(header.width, header.height, 32);
    if (into) loadImageData(*into, data, size);
    freeImage(into);
  }
}

}  // namespace vellum::fuzz
