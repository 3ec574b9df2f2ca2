// Picture files in and out: TLG0/TLG5/TLG6, PNG, JPEG (with the engine's alpha and position
// extensions), BMP and TGA become Images; Images become BMP, PNG, JPEG or TLG files. Every codec
// keeps its state on the call, so any thread may load or save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "image/image.h"

namespace vellum {

// A new Image decoded from the bytes, or nullptr after a console report. The format is detected
// from the first bytes.
Image* loadImage(const uint8_t* data, size_t size);

// Decodes a BMP, PNG, JPEG or TGA into an Image the caller made with the file's size (a TLG, or a
// different size, fails). False after a console report; the pixels may then be partly written.
bool loadImageData(Image& image, const uint8_t* data, size_t size);

struct PictureHeader {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
};
// The size recorded in the file, without decoding. False (unreported) when the bytes are not a
// picture with a positive size.
bool loadHeader(const uint8_t* data, size_t size, PictureHeader& header);

enum class SaveFormat : int { Bmp = 0, Png = 1, Jpeg = 2, Tlg = 3 };

struct SaveRequest {
  SaveFormat format = SaveFormat::Png;
  // BMP, PNG, TLG: bits per pixel (0 the image's own); JPEG: that, plus 0x20 to ask for alpha.
  int option1 = 0;
  // PNG: zlib level; JPEG: quality 0-100; TLG: non-zero TLG6, zero TLG5.
  int option2 = 0;
  // PNG: non-zero Adam7; JPEG: bit 0 optimised tables, bit 1 progressive, bits 2-3 chroma sampling.
  int option3 = 0;
};

// The file's bytes for the image. The PNG, JPEG and TLG writers rename the image's own name to
// their extension when they store it. False after a console report; `shownName` (GBK) names the
// file in the messages.
bool encodeImage(Image* image, const SaveRequest& request, std::string_view shownName, std::vector<uint8_t>& out);

// Encodes and writes the file in one go. `fileName` is a game path (GBK, '/' or '\'): absolute
// paths are used as they are, relative ones below the game folder (the current folder when none is
// set). False after a console report.
bool saveImage(std::string_view fileName, Image* image, const SaveRequest& request);

}  // namespace vellum
