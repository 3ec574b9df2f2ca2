#include "image/ops/solid_colour.h"

#include "image/ops/blend_formulas.h"
#include "image/ops/channel_tables.h"
#include "image/ops/image_tables.h"
#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/pixel.h"

namespace vellum {

namespace {

constexpr char kSolidCode[] = "BLD";

// What every base value d of one channel becomes under the colour's value c of that channel.
ChannelTable solidTable(const uint8_t* formula, uint32_t c, uint32_t a) {
  ChannelTable table{};
  for (uint32_t d = 0; d < 256; ++d) {
    const uint32_t f = formula ? formula[d << 8 | c] : c;
    table[d] = static_cast<uint8_t>(a == 255 ? f : ((f * a + d * (255 - a) + 1) * 257) >> 16);
  }
  return table;
}

}  // namespace

int colImage(Image* image, int mode, uint32_t colour) {
  if (!image) return reportImageFailure(kSolidCode, ImageFailure::NoPicture);
  const uint32_t a = pixel::alpha(colour);
  if (mode < kBlendNormal || mode >= kBlendModeCount || a == 0) return 1;
  const auto* table = imageTables().blend[mode];
  const uint8_t* formula = table ? table->data() : nullptr;
  applyChannelTables(*image, solidTable(formula, pixel::red(colour), a), solidTable(formula, pixel::green(colour), a),
                     solidTable(formula, pixel::blue(colour), a));
  const bool grey = pixel::red(colour) == pixel::green(colour) && pixel::green(colour) == pixel::blue(colour);
  noteColourWritten(*image, !grey);
  return 1;
}

}  // namespace vellum
