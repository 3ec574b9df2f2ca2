#include "image/jpeg_session.h"

#include <cstring>
#include <new>

namespace vellum {

namespace {

[[noreturn]] void exitHook(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

void emitHook(j_common_ptr cinfo, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  if (level < 0) {
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) errors->endedEarly = true;
    ++cinfo->err->num_warnings;
  }
}

void outputNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* installJpegErrors(JpegErrors& errors) {
  jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
  manager->error_exit = exitHook;
  manager->emit_message = emitHook;
  manager->output_message = outputNothing;
  errors.message[0] = '\0';
  errors.endedEarly = false;
  return manager;
}

JpegDecompressor::JpegDecompressor() {
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = installJpegErrors(errors);
}

JpegDecompressor::~JpegDecompressor() {
  if (created) jpeg_destroy_decompress(&cinfo);
}

std::string JpegDecompressor::problem() const {
  return errors.message[0] ? std::string(errors.message) : std::string("libjpeg failed");
}

bool startJpegDecompress(JpegDecompressor& d, const uint8_t* data, size_t size, bool keepMarkers) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.created = true;
  jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  if (keepMarkers) {
    for (int app = 1; app <= 11; ++app) jpeg_save_markers(&d.cinfo, JPEG_APP0 + app, 0xFFFF);
  }
  jpeg_read_header(&d.cinfo, TRUE);
  return true;
}

bool readJpegRows(JpegDecompressor& d, JSAMPARRAY rows, JDIMENSION height, J_COLOR_SPACE space) {
  if (setjmp(d.errors.jump)) return false;
  d.cinfo.out_color_space = space;
  d.cinfo.dct_method = JDCT_FLOAT;
  jpeg_start_decompress(&d.cinfo);
  while (d.cinfo.output_scanline < height) {
    if (jpeg_read_scanlines(&d.cinfo, rows + d.cinfo.output_scanline, height - d.cinfo.output_scanline) == 0) {
      return false;
    }
  }
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

bool decodeGreyJpeg(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& grey) {
  try {
    JpegDecompressor d;
    if (!startJpegDecompress(d, data, size, false)) return false;
    if (d.cinfo.image_width != static_cast<JDIMENSION>(width) ||
        d.cinfo.image_height != static_cast<JDIMENSION>(height) || d.cinfo.num_components != 1) {
      return false;
    }
    grey.assign(size_t(width) * height, 0);
    std::vector<JSAMPROW> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = grey.data() + size_t(y) * width;
    return readJpegRows(d, rows.data(), static_cast<JDIMENSION>(height), JCS_GRAYSCALE) && !d.errors.endedEarly;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace vellum
