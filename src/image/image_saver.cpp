#include <cstdio>
#include <new>
#include <string>

#include "base/engine_state.h"
#include "image/bmp_writer.h"
#include "image/codec_report.h"
#include "image/image_io.h"
#include "image/jpeg_writer.h"
#include "image/name_extension.h"
#include "image/png_writer.h"
#include "image/tlg_writer.h"
#include "base/text_encoding.h"

namespace vellum {

namespace {

const char* kindOf(SaveFormat format) {
  switch (format) {
    case SaveFormat::Bmp:
      return "BMP";
    case SaveFormat::Png:
      return "PNG";
    case SaveFormat::Jpeg:
      return "JPEG";
    case SaveFormat::Tlg:
      return "TLG";
  }
  return "saveImage";
}

bool knownFormat(SaveFormat format) {
  const int f = static_cast<int>(format);
  return f >= 0 && f <= 3;
}

// The requested bits per pixel, or the image's own for 0.
int bitsFor(const Image& image, int requested) {
  if (requested != 0) return requested;
  return image.bitsPerPixel > 24 ? 32 : image.bitsPerPixel > 8 ? 24 : 8;
}

bool supportedBits(const char* kind, int bits) {
  if (bits == 8 || bits == 24 || bits == 32) return true;
  reportBadPicture(kind, std::to_string(bits) + " bits per pixel cannot be written");
  return false;
}

int tlgColours(int bits) { return bits == 8 ? 1 : bits == 24 ? 3 : bits == 32 ? 4 : 0; }

bool encodeTlg(Image& image, const SaveRequest& r, std::vector<uint8_t>& out) {
  const int colours = tlgColours(bitsFor(image, r.option1));
  std::vector<uint8_t> stream;
  const bool written = r.option2 ? encodeTlg6(image, colours, stream) : encodeTlg5(image, colours, stream);
  if (!written) return false;
  if (!hasLayerMetadata(image)) {
    out.insert(out.end(), stream.begin(), stream.end());
    return true;
  }
  replaceNameExtension(image, "tlg");
  const std::vector<uint8_t> wrapped = wrapInTlg0(stream, image);
  out.insert(out.end(), wrapped.begin(), wrapped.end());
  return true;
}

std::string fileSystemPath(std::string_view gamePath) {
  const bool asIs = gamePath.find(':') != std::string_view::npos || (!gamePath.empty() && gamePath.front() == '/');
  const std::string name = gamePathToFileSystem(gamePath);
  return asIs ? name : engine().exeDirectory + name;
}

}  // namespace

bool encodeImage(Image* image, const SaveRequest& r, std::string_view shownName, std::vector<uint8_t>& out) {
  if (!knownFormat(r.format)) {
    reportBadPicture("saveImage", "unknown format " + std::to_string(static_cast<int>(r.format)));
    return false;
  }
  const char* kind = kindOf(r.format);
  if (!image || !image->pixels || image->width < 1 || image->height < 1) {
    reportEmptyPicture(kind, shownName);
    return false;
  }
  try {
    switch (r.format) {
      case SaveFormat::Bmp: {
        const int bits = bitsFor(*image, r.option1);
        if (!supportedBits(kind, bits)) return false;
        encodeBmp(*image, bits, out);
        return true;
      }
      case SaveFormat::Png: {
        const int bits = bitsFor(*image, r.option1);
        return supportedBits(kind, bits) && encodePng(*image, bits, r.option2, r.option3 != 0, out);
      }
      case SaveFormat::Jpeg:
        return encodeJpeg(*image, jpegSettingsFromOptions(*image, r.option1, r.option2, r.option3), out);
      case SaveFormat::Tlg:
        return encodeTlg(*image, r, out);
    }
  } catch (const std::bad_alloc&) {
    reportWriterOutOfMemory(kind);
  }
  return false;
}

bool saveImage(std::string_view fileName, Image* image, const SaveRequest& request) {
  std::vector<uint8_t> bytes;
  if (!encodeImage(image, request, fileName, bytes)) return false;
  const char* kind = kindOf(request.format);
  FILE* file = std::fopen(fileSystemPath(fileName).c_str(), "wb");
  if (!file) {
    reportCannotSave(kind, fileName);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    reportCannotSave(kind, fileName);
    return false;
  }
  return true;
}

}  // namespace vellum
