// One FreeType face at one pixel size: opened from a file or from bytes in memory, it renders
// single glyphs into coverage bitmaps (one byte per pixel, 255 full) for the text layer's
// rasteriser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vellum {

struct GlyphBitmap {
  int left = 0;   // from the pen position to the first column
  int top = 0;    // from the baseline up to the first row
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;  // rows x width, 0 none .. 255 full

  uint8_t at(int x, int y) const { return coverage[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

enum class FontOpenResult { Ok, UnknownFormat, Failed, NoLibrary };

class FontFace {
 public:
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Face `index` of a font file (a collection holds several).
  static std::unique_ptr<FontFace> openFile(const std::string& path, int index, FontOpenResult& result);
  // Face `index` of font bytes; the face keeps its own copy.
  static std::unique_ptr<FontFace> openMemory(std::vector<uint8_t> bytes, int index, FontOpenResult& result);

  // Sets the pixel height and recomputes the baseline. False when the face refuses the size.
  bool setPixelSize(int size);
  // ascender x pixels-per-em / units-per-em, rounded (integer arithmetic).
  int baseline() const { return baseline_; }
  int faceCount() const;
  std::string familyName() const;

  // Renders the character (a face without it gives its missing-glyph box). antiAlias: 8-bit
  // coverage from the outline; else a 1-bit rendering with coverage 0 or 255. bold: the outline
  // is emboldened by 37/64 pixel. False when FreeType fails; out is then empty.
  bool renderGlyph(char32_t code, bool antiAlias, bool bold, GlyphBitmap& out) const;
  bool hasGlyph(char32_t code) const;
  // How far the pen moves past the character, in 1/64 pixels, loaded as renderGlyph loads it;
  // -1 when FreeType fails.
  long advance(char32_t code, bool antiAlias) const;

  // The SFNT "name" table, empty when the face has none.
  std::vector<uint8_t> nameTable() const;

 private:
  FontFace() = default;
  static std::unique_ptr<FontFace> finishOpen(std::unique_ptr<FontFace> face, int error, FontOpenResult& result);

  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  std::vector<uint8_t> bytes_;
  int baseline_ = 0;
};

}  // namespace vellum
