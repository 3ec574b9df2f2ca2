// Renders short UTF-8 labels for the engine's own small dialogs: a system font found through
// fontconfig, rasterised with FreeType into SDL textures.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace vellum {

class TextPainter {
 public:
  // families: preferred face names, tried in order; a face for `language` is the fallback.
  TextPainter(const std::vector<std::string>& families, const std::string& language, int pixelSize);
  ~TextPainter();
  TextPainter(const TextPainter&) = delete;
  TextPainter& operator=(const TextPainter&) = delete;

  // False when no font could be opened; render then gives nothing and callers draw no text.
  bool ready() const { return face_ != nullptr; }
  int lineHeight() const { return lineHeight_; }

  // A texture of the text in the colour (the caller destroys it), or nullptr for empty text or
  // no font. width and height receive its size.
  SDL_Texture* render(SDL_Renderer* renderer, const std::string& utf8, SDL_Color colour, int& width, int& height) const;

 private:
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  int lineHeight_ = 12;
  int ascender_ = 10;
};

// The code points of a UTF-8 text; a malformed byte becomes U+FFFD.
std::vector<char32_t> decodeUtf8(const std::string& text);

}  // namespace vellum
