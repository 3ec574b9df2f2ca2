#include "platform/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <cstring>

namespace vellum {

namespace {
FT_Face asFace(void* p) { return static_cast<FT_Face>(p); }
}  // namespace

FontFace::~FontFace() {
  if (face_) FT_Done_Face(asFace(face_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

std::unique_ptr<FontFace> FontFace::finishOpen(std::unique_ptr<FontFace> face, int error, FontOpenResult& result) {
  if (error == 0) {
    result = FontOpenResult::Ok;
    return face;
  }
  face->face_ = nullptr;
  result = error == FT_Err_Unknown_File_Format ? FontOpenResult::UnknownFormat : FontOpenResult::Failed;
  return nullptr;
}

std::unique_ptr<FontFace> FontFace::openFile(const std::string& path, int index, FontOpenResult& result) {
  std::unique_ptr<FontFace> face(new FontFace());
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    result = FontOpenResult::NoLibrary;
    return nullptr;
  }
  face->library_ = library;
  FT_Face ft = nullptr;
  const int error = FT_New_Face(library, path.c_str(), index, &ft);
  face->face_ = ft;
  return finishOpen(std::move(face), error, result);
}

std::unique_ptr<FontFace> FontFace::openMemory(std::vector<uint8_t> bytes, int index, FontOpenResult& result) {
  std::unique_ptr<FontFace> face(new FontFace());
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    result = FontOpenResult::NoLibrary;
    return nullptr;
  }
  face->library_ = library;
  face->bytes_ = std::move(bytes);
  if (face->bytes_.empty()) {
    result = FontOpenResult::UnknownFormat;
    return nullptr;
  }
  FT_Face ft = nullptr;
  const int error = FT_New_Memory_Face(library, face->bytes_.data(), static_cast<FT_Long>(face->bytes_.size()), index, &ft);
  face->face_ = ft;
  return finishOpen(std::move(face), error, result);
}

bool FontFace::setPixelSize(int size) {
  FT_Face f = asFace(face_);
  if (size <= 0 || FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(size)) != 0) return false;
  const long unitsPerEm = f->units_per_EM;
  const long ppem = f->size->metrics.y_ppem;
  // Bitmap-only faces have no units per em; their ascender is already in 26.6 pixels.
  if (unitsPerEm > 0)
    baseline_ = static_cast<int>((static_cast<long>(f->ascender) * ppem * 2 + unitsPerEm) / (2 * unitsPerEm));
  else
    baseline_ = static_cast<int>((f->size->metrics.ascender + 32) >> 6);
  return true;
}

int FontFace::faceCount() const { return static_cast<int>(asFace(face_)->num_faces); }

std::string FontFace::familyName() const {
  const char* name = asFace(face_)->family_name;
  return name ? name : "";
}

bool FontFace::hasGlyph(char32_t code) const { return FT_Get_Char_Index(asFace(face_), code) != 0; }

long FontFace::advance(char32_t code, bool antiAlias) const {
  FT_Face f = asFace(face_);
  const FT_Int32 flags = antiAlias ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
  if (FT_Load_Glyph(f, FT_Get_Char_Index(f, code), flags) != 0) return -1;
  return static_cast<long>(f->glyph->advance.x);
}

bool FontFace::renderGlyph(char32_t code, bool antiAlias, bool bold, GlyphBitmap& out) const {
  // The caller's buffer is reused from glyph to glyph.
  out.left = out.top = out.width = out.rows = 0;
  out.coverage.clear();
  FT_Face f = asFace(face_);
  const FT_UInt index = FT_Get_Char_Index(f, code);
  const FT_Int32 flags = antiAlias ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
  if (FT_Load_Glyph(f, index, flags) != 0) return false;
  FT_GlyphSlot slot = f->glyph;
  if (bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Embolden(&slot->outline, 37);
  if (FT_Render_Glyph(slot, antiAlias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return false;
  const FT_Bitmap& b = slot->bitmap;
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.width = static_cast<int>(b.width);
  out.rows = static_cast<int>(b.rows);
  out.coverage.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.rows));
  for (int y = 0; y < out.rows; ++y) {
    const unsigned char* row = b.buffer + static_cast<ptrdiff_t>(y) * b.pitch;
    uint8_t* to = out.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
    if (b.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(to, row, static_cast<size_t>(out.width));
    } else {
      for (int x = 0; x < out.width; ++x)
        to[x] = b.pixel_mode == FT_PIXEL_MODE_MONO && (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    }
  }
  return true;
}

std::vector<uint8_t> FontFace::nameTable() const {
  FT_ULong length = 0;
  std::vector<uint8_t> table;
  if (FT_Load_Sfnt_Table(asFace(face_), TTAG_name, 0, nullptr, &length) != 0 || length == 0) return table;
  table.resize(length);
  if (FT_Load_Sfnt_Table(asFace(face_), TTAG_name, 0, table.data(), &length) != 0) table.clear();
  return table;
}

}  // namespace vellum
