#include "image/ops/blend.h"

#include <cstring>

#include "image/ops/alpha_compositing.h"
#include "image/ops/blend_formulas.h"
#include "image/ops/layer_placement.h"
#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/worker_bands.h"

namespace vellum {

namespace {

constexpr char kCompositeCode[] = "CMP";
constexpr char kBlendCode[] = "BLD";

enum CompositeMode : int { kCompositeCopy = 0, kCompositeCopyVisible = 1, kCompositeXor = 2, kCompositeAlpha = 4 };

// Runs rowWork(baseRow, layerRow, count) over the overlap, in row bands on the worker threads.
template <typename RowWork>
void forEachOverlapRow(Image& base, const Image& layer, const LayerPlacement& at, RowWork rowWork) {
  const PixelRect& area = at.overlap;
  forEachRowBand(static_cast<int>(area.height), minRowsPerBand(area.width), [&](int begin, int end) {
    for (int64_t i = begin; i < end; ++i) {
      const int64_t y = area.y + i;
      uint32_t* baseRow = rowOf(base, y) + area.x;
      const uint32_t* layerRow = rowOf(layer, y - at.layerY) + (area.x - at.layerX);
      rowWork(baseRow, layerRow, area.width);
    }
  });
}

// Arguments shared by both operations. A layer that is the base itself is read from a copy.
struct LayerInput {
  const Image* layer = nullptr;
  Image* copy = nullptr;
  ~LayerInput() { freeImage(copy); }
};

bool prepareLayer(const char* code, Image** base, const Image* layer, LayerInput& input) {
  if (!base || !*base || !layer) {
    reportImageFailure(code, ImageFailure::NoPicture);
    return false;
  }
  input.layer = layer;
  if (layer == *base) {
    input.copy = duplicateImage(layer);
    if (!input.copy) {
      reportImageFailure(code, ImageFailure::Memory);
      return false;
    }
    input.layer = input.copy;
  }
  return true;
}

void replaceRows(Image& base, const Image& layer, const LayerPlacement& at, int opacity) {
  if (opacity >= 256) {
    forEachOverlapRow(base, layer, at, [](uint32_t* d, const uint32_t* s, int64_t n) {
      std::memcpy(d, s, static_cast<size_t>(n) * 4);
    });
    return;
  }
  forEachOverlapRow(base, layer, at, [opacity](uint32_t* d, const uint32_t* s, int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      const uint32_t a = pixel::alpha(s[i]) * static_cast<uint32_t>(opacity) / 256;
      d[i] = (s[i] & pixel::kColourMask) | (a << 24);
    }
  });
}

void compositeRows(Image& base, const Image& layer, const LayerPlacement& at, const uint8_t* formula, int opacity) {
  const ImageTables& t = imageTables();
  forEachOverlapRow(base, layer, at, [&t, formula, opacity](uint32_t* d, const uint32_t* s, int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      uint32_t as = pixel::alpha(s[i]);
      if (opacity < 256) as = as * static_cast<uint32_t>(opacity) / 256;
      d[i] = compositePixel(d[i], s[i], as, formula, t);
    }
  });
}

}  // namespace

int compositeImage(Image** base, const Image* layer, int mode, int x, int y, int expand) {
  LayerInput input;
  if (!prepareLayer(kCompositeCode, base, layer, input)) return 0;
  if (mode != kCompositeCopy && mode != kCompositeCopyVisible && mode != kCompositeXor && mode != kCompositeAlpha) {
    return reportImageFailure(kCompositeCode, ImageFailure::InvalidMode);
  }
  LayerPlacement at;
  if (!placeLayer(kCompositeCode, base, *input.layer, x, y, expand != 0, at)) return 0;
  Image& target = **base;
  const Image& source = *input.layer;
  switch (mode) {
    case kCompositeCopy: replaceRows(target, source, at, 256); break;
    case kCompositeCopyVisible:
      forEachOverlapRow(target, source, at, [](uint32_t* d, const uint32_t* s, int64_t n) {
        for (int64_t i = 0; i < n; ++i) {
          if (pixel::alpha(s[i]) != 0) d[i] = s[i];
        }
      });
      break;
    case kCompositeXor:
      forEachOverlapRow(target, source, at, [](uint32_t* d, const uint32_t* s, int64_t n) {
        for (int64_t i = 0; i < n; ++i) d[i] ^= s[i] & pixel::kColourMask;
      });
      break;
    default: compositeRows(target, source, at, nullptr, 256); break;
  }
  if ((mode == kCompositeCopy || mode == kCompositeCopyVisible) && source.bitsPerPixel == 32) target.bitsPerPixel = 32;
  noteColourWritten(target, source.bitsPerPixel != 8);
  return 1;
}

int blendImage(Image** base, const Image* layer, int mode, int x, int y, int opacity, int expand) {
  LayerInput input;
  if (!prepareLayer(kBlendCode, base, layer, input)) return 0;
  if (mode < 0 || mode >= kBlendModeCount) return reportImageFailure(kBlendCode, ImageFailure::InvalidMode);
  if (opacity <= 0) return 1;
  LayerPlacement at;
  if (!placeLayer(kBlendCode, base, *input.layer, x, y, expand != 0, at)) return 0;
  Image& target = **base;
  const Image& source = *input.layer;
  if (mode == kBlendReplace) {
    replaceRows(target, source, at, opacity);
    if (source.bitsPerPixel == 32 || opacity < 256) target.bitsPerPixel = 32;
  } else {
    const auto* formula = imageTables().blend[mode];
    compositeRows(target, source, at, formula ? formula->data() : nullptr, opacity);
  }
  noteColourWritten(target, source.bitsPerPixel != 8);
  return 1;
}

}  // namespace vellum
