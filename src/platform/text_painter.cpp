#include "platform/text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "platform/font_provider.h"

namespace vellum {

namespace {

}  // namespace

std::vector<char32_t> decodeUtf8(const std::string& text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = length > 0 && i + static_cast<size_t>(length) <= text.size();
    for (int k = 1; ok && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    out.push_back(ok ? c : U'\uFFFD');
    i += ok ? static_cast<size_t>(length) : 1;
  }
  return out;
}

TextPainter::TextPainter(const std::vector<std::string>& families, const std::string& language, int pixelSize) {
  const std::optional<FaceLocation> location = matchFace(families, language);
  if (!location) return;
  const std::string& file = location->file;
  const int index = location->index;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return;
  }
  library_ = library;
  face_ = face;
  ascender_ = static_cast<int>(face->size->metrics.ascender >> 6);
  lineHeight_ = std::max(pixelSize, static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6));
}

TextPainter::~TextPainter() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

SDL_Texture* TextPainter::render(SDL_Renderer* renderer, const std::string& utf8, SDL_Color colour, int& width,
                                 int& height) const {
  width = height = 0;
  if (!face_ || utf8.empty()) return nullptr;
  FT_Face face = static_cast<FT_Face>(face_);
  const std::vector<char32_t> text = decodeUtf8(utf8);
  // First pass: the width; second: the coverage into an alpha buffer.
  int total = 0;
  for (char32_t c : text)
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) total += static_cast<int>(face->glyph->advance.x >> 6);
  if (total <= 0) return nullptr;
  width = total;
  height = lineHeight_;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  const uint32_t rgb = static_cast<uint32_t>(colour.r) << 16 | static_cast<uint32_t>(colour.g) << 8 | colour.b;
  int penX = 0;
  for (char32_t c : text) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    for (unsigned row = 0; row < g->bitmap.rows; ++row) {
      const int y = ascender_ - g->bitmap_top + static_cast<int>(row);
      if (y < 0 || y >= height) continue;
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        const int x = penX + g->bitmap_left + static_cast<int>(col);
        if (x < 0 || x >= width) continue;
        const uint8_t coverage = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
        uint32_t& p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        p = std::max(p >> 24, static_cast<uint32_t>(coverage)) << 24 | rgb;
      }
    }
    penX += static_cast<int>(g->advance.x >> 6);
  }
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!texture) return nullptr;
  SDL_UpdateTexture(texture, nullptr, pixels.data(), width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return texture;
}

}  // namespace vellum
