#include "image/jpeg_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/jpeg_markers.h"
#include "image/jpeg_session.h"
#include "image/name_extension.h"
#include "image/pixel_luminance.h"
#include "image/png_writer.h"

namespace vellum {

namespace {

constexpr size_t kChunk = 16384;

// A libjpeg destination appending to a vector; growth failure is a libjpeg memory error.
struct VectorDestination {
  jpeg_destination_mgr manager;  // first, so the library's pointer is also ours
  std::vector<uint8_t>* out;
  bool outOfMemory;
  JOCTET buffer[kChunk];
};

bool append(VectorDestination& d, size_t count) {
  try {
    d.out->insert(d.out->end(), d.buffer, d.buffer + count);
    return true;
  } catch (const std::bad_alloc&) {
    d.outOfMemory = true;
    return false;
  }
}

void startDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  d->manager.next_output_byte = d->buffer;
  d->manager.free_in_buffer = kChunk;
}

boolean emptyDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  if (!append(*d, kChunk)) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  startDestination(cinfo);
  return TRUE;
}

void finishDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<VectorDestination*>(cinfo->dest);
  if (!append(*d, kChunk - d->manager.free_in_buffer)) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
}

struct Compressor {
  JpegErrors errors;
  jpeg_compress_struct cinfo;
  VectorDestination destination;
  bool created = false;
  explicit Compressor(std::vector<uint8_t>& out) {
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = installJpegErrors(errors);
    destination.manager.init_destination = startDestination;
    destination.manager.empty_output_buffer = emptyDestination;
    destination.manager.term_destination = finishDestination;
    destination.out = &out;
    destination.outOfMemory = false;
  }
  ~Compressor() {
    if (created) jpeg_destroy_compress(&cinfo);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
};

// What one compression pass writes; rows are produced one at a time by `row`.
struct Pass {
  int width;
  int height;
  bool grey;
  const JpegSettings* settings;
  const uint8_t* positionPayload;  // kPositionPayloadSize bytes, or null
  bool alphaPlaceholder;
  const uint32_t* pixels;  // colour source (BGRX rows)
  const uint8_t* greyPixels;  // grey source, width bytes per row
};

void applySampling(jpeg_compress_struct& cinfo, int sampling) {
  static const int factors[3][2] = {{2, 2}, {2, 1}, {1, 1}};
  if (sampling < 0 || sampling > 2 || cinfo.num_components < 3) return;
  cinfo.comp_info[0].h_samp_factor = factors[sampling][0];
  cinfo.comp_info[0].v_samp_factor = factors[sampling][1];
  for (int c = 1; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
}

bool compress(Compressor& c, const Pass& p) {
  if (setjmp(c.errors.jump)) return false;
  jpeg_create_compress(&c.cinfo);
  c.created = true;
  c.cinfo.dest = &c.destination.manager;
  c.cinfo.image_width = static_cast<JDIMENSION>(p.width);
  c.cinfo.image_height = static_cast<JDIMENSION>(p.height);
  c.cinfo.input_components = p.grey ? 1 : 4;
  c.cinfo.in_color_space = p.grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
  jpeg_set_defaults(&c.cinfo);
  jpeg_set_quality(&c.cinfo, std::clamp(p.settings->quality, 0, 100), TRUE);
  c.cinfo.dct_method = JDCT_FLOAT;
  c.cinfo.optimize_coding = p.settings->optimise ? TRUE : FALSE;
  if (p.settings->progressive) jpeg_simple_progression(&c.cinfo);
  applySampling(c.cinfo, p.settings->sampling);
  jpeg_start_compress(&c.cinfo, TRUE);
  if (p.positionPayload) jpeg_write_marker(&c.cinfo, JPEG_APP0 + 1, p.positionPayload, kPositionPayloadSize);
  if (p.alphaPlaceholder) {
    const JOCTET placeholder[kAlphaHeaderSize] = {'A', 'L', 'P', 0, 0, 0, 0, 0};
    jpeg_write_marker(&c.cinfo, JPEG_APP0 + 2, placeholder, kAlphaHeaderSize);
  }
  while (c.cinfo.next_scanline < c.cinfo.image_height) {
    const size_t y = c.cinfo.next_scanline;
    JSAMPROW row = p.grey ? const_cast<JSAMPROW>(p.greyPixels + y * static_cast<size_t>(p.width))
                          : reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(p.pixels + y * static_cast<size_t>(p.width)));
    jpeg_write_scanlines(&c.cinfo, &row, 1);
  }
  jpeg_finish_compress(&c.cinfo);
  return true;
}

void makePositionPayload(const Image& image, uint8_t (&payload)[kPositionPayloadSize]) {
  std::memset(payload, 0, sizeof payload);
  std::memcpy(payload, kPositionTag, sizeof kPositionTag);
  storeLe32(payload + 4, static_cast<uint32_t>(image.left));
  storeLe32(payload + 8, static_cast<uint32_t>(image.top));
  storeLe32(payload + 12, static_cast<uint32_t>(image.mode));
  const size_t room = kPositionPayloadSize - kPositionNameOffset - 1;
  std::memcpy(payload + kPositionNameOffset, image.name, std::min(strnlen(image.name, sizeof image.name), room));
}

// The alpha as a greyscale JPEG, zlib and PNG; the smallest wins, zlib on ties, then PNG.
bool encodeAlpha(const uint8_t* alpha, int width, int height, const JpegSettings& settings, uint8_t& type,
                 std::vector<uint8_t>& best) {
  const size_t pixels = size_t(width) * height;
  std::vector<uint8_t> zlibbed(compressBound(static_cast<uLong>(pixels)));
  uLongf zlibSize = static_cast<uLongf>(zlibbed.size());
  const bool haveZlib = compress2(zlibbed.data(), &zlibSize, alpha, static_cast<uLong>(pixels), 9) == Z_OK;
  zlibbed.resize(haveZlib ? zlibSize : 0);

  std::vector<uint8_t> png;
  const bool havePng = encodeGreyPng(alpha, width, height, 9, png);

  std::vector<uint8_t> jpeg;
  Compressor c(jpeg);
  const Pass pass{width, height, true, &settings, nullptr, false, nullptr, alpha};
  const bool haveJpeg = compress(c, pass);

  if (!haveZlib && !havePng && !haveJpeg) return false;
  type = pickAlphaEncoding(haveJpeg ? jpeg.size() : SIZE_MAX, haveZlib ? zlibbed.size() : SIZE_MAX,
                           havePng ? png.size() : SIZE_MAX);
  best = std::move(type == (kAlphaAfterEnd | kAlphaZlib) ? zlibbed : type == (kAlphaAfterEnd | kAlphaPng) ? png : jpeg);
  return true;
}

// Where the writer's "ALP" placeholder segment sits in its own output.
size_t findAlphaSegment(const std::vector<uint8_t>& jpeg) {
  static const uint8_t pattern[] = {0xFF, 0xE2, 0x00, 0x0A, 'A', 'L', 'P'};
  auto at = std::search(jpeg.begin(), jpeg.end(), std::begin(pattern), std::end(pattern));
  return at == jpeg.end() ? SIZE_MAX : static_cast<size_t>(at - jpeg.begin()) + 4;
}

}  // namespace

uint8_t pickAlphaEncoding(size_t jpegSize, size_t zlibSize, size_t pngSize) {
  if (zlibSize <= pngSize && zlibSize <= jpegSize) return kAlphaAfterEnd | kAlphaZlib;
  if (pngSize <= jpegSize) return kAlphaAfterEnd | kAlphaPng;
  return kAlphaAfterEnd | kAlphaJpeg;
}

JpegSettings jpegSettingsFromOptions(const Image& image, int option1, int option2, int option3) {
  JpegSettings s;
  const int bits = option1 & 0x1F;
  s.grey = bits == 8 || (bits == 0 && image.bitsPerPixel == 8);
  s.alpha = (option1 & 0x60) != 0;
  s.quality = option2;
  s.optimise = (option3 & 1) != 0;
  s.progressive = (option3 & 2) != 0;
  s.sampling = (option3 >> 2) & 3;
  return s;
}

bool encodeJpeg(Image& image, const JpegSettings& settings, std::vector<uint8_t>& out) {
  try {
    const int width = image.width;
    const int height = image.height;
    const size_t pixels = size_t(width) * height;
    std::vector<uint8_t> grey;
    if (settings.grey) {
      grey.resize(pixels);
      for (size_t i = 0; i < pixels; ++i) grey[i] = pixelLuminance(image.pixels[i]);
    }
    uint8_t payload[kPositionPayloadSize];
    const bool withPosition = hasLayerMetadata(image);
    if (withPosition) {
      replaceNameExtension(image, "jpg");
      makePositionPayload(image, payload);
    }

    std::vector<uint8_t> jpeg;
    {
      Compressor c(jpeg);
      const Pass pass{width, height, settings.grey, &settings, withPosition ? payload : nullptr, settings.alpha,
                      image.pixels, grey.data()};
      if (!compress(c, pass)) {
        if (c.destination.outOfMemory) reportWriterOutOfMemory("JPEG");
        else reportBadPicture("JPEG", c.errors.message);
        return false;
      }
    }
    if (settings.alpha) {
      std::vector<uint8_t> alpha(pixels);
      for (size_t i = 0; i < pixels; ++i) alpha[i] = static_cast<uint8_t>(image.pixels[i] >> 24);
      uint8_t type = 0;
      std::vector<uint8_t> encoded;
      const size_t segment = findAlphaSegment(jpeg);
      if (segment == SIZE_MAX || !encodeAlpha(alpha.data(), width, height, settings, type, encoded)) {
        reportWriterOutOfMemory("JPEG");
        return false;
      }
      jpeg[segment + 3] = type;
      storeLe32(jpeg.data() + segment + 4, static_cast<uint32_t>(jpeg.size()));
      jpeg.insert(jpeg.end(), encoded.begin(), encoded.end());
    }
    out.insert(out.end(), jpeg.begin(), jpeg.end());
    return true;
  } catch (const std::bad_alloc&) {
    reportWriterOutOfMemory("JPEG");
    return false;
  }
}

}  // namespace vellum
