// The glyph object: one font face at one pixel size and style that rasterises characters. Message
// text places characters one by one into slots, each with its own cell texture and screen quad;
// text sprites use it only to rasterise whole strings into a pixel buffer.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/font_face.h"
#include "render/renderer.h"
#include "text/glyph_raster.h"

namespace vellum {

constexpr uint16_t kFullWidthSpace = 0xA1A1;  // GBK
constexpr uint16_t kIdeographicComma = 0xA1A2, kIdeographicStop = 0xA1A3;
constexpr int kAddedFontSlots = 9;
constexpr size_t kMaxNameTable = 16384;
// Larger sizes are taken as this: a cell texture per character stays at most 1024 x 1024.
constexpr int kMaxPixelSize = 512;

class CString {
 public:
  CString() = default;
  ~CString();
  CString(const CString&) = delete;
  CString& operator=(const CString&) = delete;

  // Sets style and colours, opens the font and allocates the slots. False when memory ran out.
  bool Create(const std::string& fontName, int size, int style, int capacity, bool sixteenBit);
  void SetFont(const std::string& fontName, int size, int style);
  void SetColors(uint32_t c1, uint32_t c2, uint32_t c3);
  // Places the next character at (x, y) relative to the origin. False when it was not placed.
  bool SetChar(int x, int y, uint8_t lead, uint8_t trail);
  void ReSetChar();
  void PlaceAll(float shiftX, float shiftY);
  void PlaceAllIfMoved(float shiftX, float shiftY);
  void SetDiffuse(int first, uint32_t colour);
  void FadeIn(int target, uint32_t now);
  // The point after the last character, in unscaled pixels ((0, 0) with none).
  std::array<int, 2> LastPosition() const;
  void Draw() const;
  void Clear();
  // Rasterises a string side by side into a buffer (cleared first).
  void RenderText(const RasterTarget& target, const std::string& text) const;
  // A string with line breaks (byte 12) and ruby groups "{base/ruby}"; `proportional` gives each
  // glyph its own advance instead of a fixed cell.
  void RenderRubyText(const RasterTarget& target, const std::string& text, int spacing, int lineGap,
                      const CString& ruby, bool proportional) const;
  void Release();
  // Style and colours back to those of a fresh object (a state reset; Release keeps them).
  void ResetRasteriser() { raster_ = GlyphRasteriser{}; }

  // How far the pen moves past the character as the face draws it (bold adds a pixel): in the
  // face's own pixels, and in unscaled (game) pixels as the message window places characters.
  // 0 without a face.
  int advancePixels(uint16_t code) const;
  int advance(uint16_t code) const;

  // Rasterises one character code with its pen at (x, y) of the target.
  void rasterise(const RasterTarget& target, int x, int y, uint16_t code) const;

  // Private font files recorded by addFontFile (removed again at release).
  bool recordAddedFont(const std::string& name);
  const std::array<std::string, kAddedFontSlots>& addedFonts() const { return addedFonts_; }

  // Fields the message window reads and writes.
  std::string fontName;
  int size = 0, cell = 0, baseline = 0;
  int originX = 0, originY = 0, offsetX = 0, offsetY = 0;
  float shiftX = 0, shiftY = 0;
  int capacity = 0, count = 0, shown = 0, fadeStart = 0, typewriterBase = 0;
  std::vector<int> anchors;
  std::vector<int> pX, pY;
  std::vector<uint16_t> pCode;
  std::vector<uint32_t> pTime;
  std::deque<int> pausePoints;

  bool hasFace() const { return face_ != nullptr; }
  int style() const { return raster_.style(); }
  bool bold() const { return raster_.bold(); }
  const GlyphRasteriser& rasteriser() const { return raster_; }
  const std::array<SceneVertex, 4>& quad(int i) const { return quads_[static_cast<size_t>(i)]; }
  bool sixteenBit() const { return sixteenBit_; }
  // The slot's cell texture (nullptr while none was made).
  gpu::Texture* texture(int i) const { return textures_[static_cast<size_t>(i)]; }

 private:
  void OpenFace();
  bool OpenSystemFace(const std::string& utf8Name);
  void applySize();
  void computeQuad(int i);
  void releaseTextures();
  // Draws the slot's character into its texture; `who` names the caller in reports.
  bool drawSlot(int i, const char* who);

  std::unique_ptr<FontFace> face_;
  GlyphRasteriser raster_;
  mutable GlyphBitmap scratch_;  // the current glyph's coverage
  double exactAdvance(uint16_t code) const;
  mutable std::unordered_map<uint16_t, double> advances_;  // for the face at this size and style
  bool sixteenBit_ = false;
  std::array<std::string, kAddedFontSlots> addedFonts_;
  std::vector<std::array<SceneVertex, 4>> quads_;
  std::vector<gpu::Texture*> textures_;
};

// The four instances.
CString& mainText();
CString& rubyText();
CString& spriteText();
CString& spriteRubyText();
void resetTextObjects();

// Pause points each stop character adds (the PointWait setting).
int pointWaitCount();
// The display scale (render size / game size).
float displayScale();
// The cell side for a size: the smallest power of two >= size + bold + 4.
int cellFor(int size, bool bold);
// The character's Unicode value (single bytes and GBK double-byte codes).
char32_t codeToUnicode(uint16_t code);

}  // namespace vellum
