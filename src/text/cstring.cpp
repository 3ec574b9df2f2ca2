#include "text/cstring.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "persist/engine_settings.h"
#include "platform/font_provider.h"
#include "render/renderer_state.h"
#include "services/codepage_tables.h"
#include "shell/display/screen_geometry.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

bool isLead(uint8_t b) { return b >= 0x81 && b <= 0xFC; }

// Clears the target's own pixels row by row (its pitch may span more than its width).
void clearTarget(const RasterTarget& target) {
  const size_t row = static_cast<size_t>(std::max(target.width, 0)) * (target.sixteenBit ? 2 : 4);
  for (int y = 0; y < target.height; ++y) std::memset(target.bits + static_cast<ptrdiff_t>(y) * target.pitch, 0, row);
}

ReportText nameAndSize(const char* what, const std::string& name, int size) {
  return ReportText().ascii(what).gbk(name).ascii(",").number(size);
}

// The bytes of a game file held in the archives, or nothing.
std::vector<uint8_t> archivedFile(const std::string& name) {
  std::vector<uint8_t> bytes;
  if (!storage().archives.count(crc64Of(name))) return bytes;
  uint8_t* buffer = nullptr;
  uint32_t size = 0, capacity = 0;
  if (loadFile(name, buffer, size, capacity)) bytes.assign(buffer, buffer + size);
  freeAligned(buffer);
  return bytes;
}

}  // namespace

int pointWaitCount() { return std::max(settings().pointWait, 0); }

float displayScale() {
  const float scale = screenGeometry().scale;
  return scale > 0 ? scale : 1.0f;
}

int cellFor(int size, bool bold) {
  const int a = size + (bold ? 1 : 0) + 4;
  int cell = 1;
  while (cell < a && cell < (1 << 14)) cell <<= 1;
  return cell;
}

char32_t codeToUnicode(uint16_t code) {
  if (code < 256) return kSingleByteToUtf16[code];
  return doubleByteTables().doubleByteToUtf16[code];
}

CString::~CString() { Release(); }

bool CString::Create(const std::string& name, int pixelSize, int style, int slots, bool sixteenBit) {
  Release();
  sixteenBit_ = sixteenBit;
  raster_.setStyle(style);
  raster_.setColours(0xFFFFFF, 0xFFFFFF, 0x000000);
  fontName = name;
  size = std::clamp(pixelSize, 0, kMaxPixelSize);
  cell = cellFor(size, raster_.bold());
  OpenFace();
  applySize();
  capacity = std::max(slots, 0);
  const size_t n = static_cast<size_t>(capacity);
  try {
    pX.assign(n, 0);
    pY.assign(n, 0);
    pCode.assign(n, 0);
    pTime.assign(n, 0);
    quads_.assign(n, {});
    textures_.assign(n, nullptr);
  } catch (const std::bad_alloc&) {
    errord(ReportText().ascii("CString::Create pX ").gbk(fontName), true);
    pX.clear(), pY.clear(), pCode.clear(), pTime.clear(), quads_.clear(), textures_.clear();
    capacity = 0;
    return false;
  }
  return true;
}

void CString::OpenFace() {
  face_.reset();
  advances_.clear();
  if (fontName.empty()) return;
  // A name with a drive or an absolute path is used as it is; any other is in the game folder
  // (loose, then in the archives), and failing that an installed face.
  std::string path = gamePathToFileSystem(fontName);
  if (fontName.find(':') == std::string::npos && (path.empty() || path[0] != '/'))
    path = gamePathToFileSystem(engine().exeDirectory + fontName);
  std::error_code error;
  FontOpenResult result = FontOpenResult::Failed;
  if (std::filesystem::is_regular_file(path, error)) {
    face_ = FontFace::openFile(path, 0, result);
  } else if (std::vector<uint8_t> bytes = archivedFile(fontName); !bytes.empty()) {
    face_ = FontFace::openMemory(std::move(bytes), 0, result);
  } else {
    // Games write face names in either code page; try both readings.
    if (!OpenSystemFace(toUtf8(fontName, CodePage::Gbk)) && !OpenSystemFace(toUtf8(fontName, CodePage::ShiftJis)))
      errord(nameAndSize("CreateFontIndirect ", fontName, size), true);
    return;
  }
  if (result == FontOpenResult::NoLibrary) errord(ReportText().ascii("FT_Init_FreeType"), true);
  if (result == FontOpenResult::UnknownFormat) errord(ReportText().ascii("FT_Err_Unknown_File_Format ").gbk(fontName), true);
  if (result == FontOpenResult::Failed) errord(ReportText().ascii("FT_New_Face ").gbk(fontName), true);
}

bool CString::OpenSystemFace(const std::string& utf8Name) {
  const std::optional<FaceLocation> location = findInstalledFace(utf8Name);
  if (!location) return false;
  FontOpenResult result = FontOpenResult::Failed;
  face_ = FontFace::openFile(location->file, location->index, result);
  if (!face_) {
    errord(nameAndSize("OpenFaceByIndex 1 ", fontName, size), true);
    return true;
  }
  // A "name" table larger than the engine reads is refused, and with it this route.
  const size_t nameLength = face_->nameTable().size();
  if (nameLength > kMaxNameTable) {
    errord(ReportText().ascii("FontNameTag BufferOver ").number(static_cast<long long>(nameLength)), true);
    face_.reset();
  }
  return true;
}

void CString::applySize() {
  advances_.clear();
  if (!face_) return;
  if (!face_->setPixelSize(size)) {
    errord(nameAndSize("FT_Set_Pixel_Sizes ", fontName, size), true);
    return;
  }
  baseline = face_->baseline();
  raster_.setSize(size, baseline);
}

void CString::SetFont(const std::string& name, int pixelSize, int style) {
  const bool wasBold = raster_.bold();
  raster_.setStyle(style);
  pixelSize = std::clamp(pixelSize, 0, kMaxPixelSize);
  if (name != fontName) {
    fontName = name;
    OpenFace();
  }
  if (pixelSize != size || wasBold != raster_.bold()) {
    releaseTextures();
    size = pixelSize;
    cell = cellFor(size, raster_.bold());
  }
  applySize();
}

void CString::SetColors(uint32_t c1, uint32_t c2, uint32_t c3) { raster_.setColours(c1, c2, c3); }

void CString::computeQuad(int i) {
  const size_t k = static_cast<size_t>(i);
  const float scale = displayScale();
  const float margin = static_cast<float>(raster_.edgeBitB() + (raster_.bold() ? 1 : 0));
  const float left = std::floor(scale * (shiftX + static_cast<float>(pX[k] + originX + offsetX)) + 0.5f) - 0.5f - margin;
  const float top = std::floor(scale * (shiftY + static_cast<float>(pY[k] + originY + offsetY)) + 0.5f) - 0.5f - margin;
  const float side = static_cast<float>(cell);
  std::array<SceneVertex, 4>& q = quads_[k];
  const uint32_t colour = q[0].colour ? q[0].colour : 0xFFFFFFFF;
  q[0] = {left, top, 0, 1, colour, 0, 0};
  q[1] = {left + side, top, 0, 1, colour, 1, 0};
  q[2] = {left, top + side, 0, 1, colour, 0, 1};
  q[3] = {left + side, top + side, 0, 1, colour, 1, 1};
}

void CString::rasterise(const RasterTarget& target, int x, int y, uint16_t code) const {
  if (!face_) return;  // no face: nothing is drawn
  if (!face_->renderGlyph(codeToUnicode(code), raster_.antiAlias(), raster_.bold(), scratch_)) return;
  raster_.draw(target, x, y, scratch_);
}

double CString::exactAdvance(uint16_t code) const {
  if (!face_) return 0;
  if (const auto known = advances_.find(code); known != advances_.end()) return known->second;
  const long measured = face_->advance(codeToUnicode(code), raster_.antiAlias());
  const double pixels = std::min(static_cast<double>(std::max(measured, 0L)) / 64.0 + (raster_.bold() ? 1 : 0), 4096.0);
  advances_.emplace(code, pixels);
  return pixels;
}

int CString::advancePixels(uint16_t code) const { return static_cast<int>(std::lround(exactAdvance(code))); }
int CString::advance(uint16_t code) const { return static_cast<int>(std::lround(exactAdvance(code) / displayScale())); }

bool CString::drawSlot(int i, const char* who) {
  const size_t k = static_cast<size_t>(i);
  RendererState& r = renderer();
  // Without a device (a game with no screen yet) characters are placed but have no pictures.
  if (!r.device) return true;
  if (!textures_[k]) {
    textures_[k] = createTexture(cell, cell, 1);
    if (!textures_[k]) return false;
  }
  gpu::LockedRect locked;
  gpu::Result e = textures_[k]->lockRect(0, locked, nullptr, gpu::kLockDiscard);
  if (gpu::failed(e)) e = textures_[k]->lockRect(0, locked, nullptr, 0);
  if (gpu::failed(e) || !locked.bits) {
    errord(ReportText().ascii(who).ascii(" LockRect ").ascii(deviceErrorName(e)), true);
    return false;
  }
  std::memset(locked.bits, 0, static_cast<size_t>(cell) * static_cast<size_t>(locked.pitch));
  rasterise({static_cast<uint8_t*>(locked.bits), locked.pitch, cell, cell, sixteenBit_}, 0, 0, pCode[k]);
  e = textures_[k]->unlockRect(0);
  if (gpu::failed(e)) {
    errord(ReportText().ascii(who).ascii(" UnlockRect ").ascii(deviceErrorName(e)), true);
    return false;
  }
  return true;
}

bool CString::SetChar(int x, int y, uint8_t lead, uint8_t trail) {
  const int i = count;
  // Slots past the capacity are refused.
  if (i >= capacity) return false;
  const size_t k = static_cast<size_t>(i);
  pCode[k] = static_cast<uint16_t>(lead << 8 | trail);
  if (pCode[k] == 0 || pCode[k] == kFullWidthSpace) return false;
  if (pCode[k] == kIdeographicComma || pCode[k] == kIdeographicStop)
    for (int n = 0; n < pointWaitCount(); ++n) pausePoints.push_back(i + 1);
  pX[k] = x;
  pY[k] = y;
  quads_[k][0].colour = 0xFFFFFFFF;
  computeQuad(i);
  if (!drawSlot(i, "SetChar")) return false;
  count = i + 1;
  return true;
}

void CString::ReSetChar() {
  // The pause points are rebuilt from the characters, never added twice.
  pausePoints.clear();
  for (int i = 0; i < count; ++i) {
    const uint16_t code = pCode[static_cast<size_t>(i)];
    if (code == 0 || code == kFullWidthSpace) break;
    if (code == kIdeographicComma || code == kIdeographicStop)
      for (int n = 0; n < pointWaitCount(); ++n) pausePoints.push_back(i + 1);
    if (!drawSlot(i, "ReSetChar")) break;
  }
  // Points already passed by the typewriter stay consumed.
  while (!pausePoints.empty() && pausePoints.front() <= typewriterBase) pausePoints.pop_front();
}

void CString::PlaceAll(float x, float y) {
  shiftX = x;
  shiftY = y;
  for (int i = 0; i < count; ++i) computeQuad(i);
}

void CString::PlaceAllIfMoved(float x, float y) {
  if (x != shiftX || y != shiftY) PlaceAll(x, y);
}

void CString::SetDiffuse(int first, uint32_t colour) {
  for (int i = std::max(first, 0); i < count; ++i)
    for (SceneVertex& v : quads_[static_cast<size_t>(i)]) v.colour = colour;
}

void CString::FadeIn(int target, uint32_t now) {
  target = std::clamp(target, 0, count);
  if (target != shown) {
    for (int i = shown; i < target; ++i) pTime[static_cast<size_t>(i)] = now;
    shown = target;
  }
  for (int i = fadeStart; i < shown; ++i) {
    const uint32_t elapsed = now - pTime[static_cast<size_t>(i)];
    if (elapsed >= 256) {
      for (SceneVertex& v : quads_[static_cast<size_t>(i)]) v.colour = 0xFFFFFFFF;
      if (i == fadeStart) ++fadeStart;
    } else {
      for (SceneVertex& v : quads_[static_cast<size_t>(i)]) v.colour = elapsed << 24 | 0xFFFFFF;
    }
  }
}

std::array<int, 2> CString::LastPosition() const {
  if (count <= 0) return {0, 0};
  // Positions are kept unscaled; the font size is a scaled one.
  const float scale = displayScale();
  const size_t last = static_cast<size_t>(count - 1);
  return {pX[last] + static_cast<int>(std::lround(static_cast<float>(size) / scale)), pY[last]};
}

void CString::Draw() const {
  gpu::Device* d = renderer().device;
  if (!d) return;
  d->setRenderState(gpu::rs::SrcBlend, gpu::blend::SrcAlpha);
  d->setRenderState(gpu::rs::DestBlend, gpu::blend::InvSrcAlpha);
  d->setRenderState(gpu::rs::BlendOp, gpu::blendop::Add);
  d->setTextureStageState(0, gpu::tss::ColorOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::ColorArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::ColorArg2, gpu::ta::Diffuse);
  d->setTextureStageState(0, gpu::tss::AlphaOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::AlphaArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::AlphaArg2, gpu::ta::Diffuse);
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::Disable);
  d->setFVF(gpu::kFvfXyzRhw | gpu::kFvfDiffuse | gpu::fvfTex(1));
  for (int i = 0; i < std::min(shown, count); ++i) {
    gpu::Texture* t = textures_[static_cast<size_t>(i)];
    if (!t) continue;
    d->setTexture(0, t);
    d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quads_[static_cast<size_t>(i)].data(), sizeof(SceneVertex));
  }
  d->setTexture(0, nullptr);
}

void CString::Clear() {
  count = shown = fadeStart = 0;
  pausePoints.clear();
}

void CString::RenderText(const RasterTarget& target, const std::string& text) const {
  if (!target.bits) return;
  clearTarget(target);
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<uint8_t>(text[i]);
    const int x = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(i) * size / 2, target.width));
    if (isLead(b) && i + 1 < text.size()) {
      const auto code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[i + 1]));
      if (code != kFullWidthSpace) rasterise(target, x, 0, code);
      i += 2;
    } else {
      if (b != ' ') rasterise(target, x, 0, b);
      ++i;
    }
  }
}

void CString::RenderRubyText(const RasterTarget& target, const std::string& text, int spacing, int lineGap,
                             const CString& ruby, bool proportional) const {
  if (!target.bits) return;
  clearTarget(target);
  // Worked out wide: log values and texts come from scripts.
  const int64_t pitch = int64_t{size} + spacing;
  const int64_t gap64 = lineGap;
  int64_t row = std::max<int64_t>(gap64, 0);
  // The pen is m half cells plus, in the proportional layout, what the glyphs' own advances added.
  int64_t m = 0, extra = 0, groupStart = 0;
  bool inGroup = false;
  const auto at = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30)); };
  const auto pen = [&] { return pitch * m / 2 + extra; };
  // Moves the pen past a character of `cells` half cells (its own advance when proportional).
  const auto step = [&](uint16_t code, int64_t cells) {
    const int64_t own = proportional ? advancePixels(code) : 0;
    if (own > 0) extra += own + spacing - (pitch * (m + cells) / 2 - pitch * m / 2);
    m += cells;
  };
  const size_t length = text.size();
  for (size_t i = 0; i < length;) {
    if (row - size > target.height) break;  // every later row is below the buffer
    const auto b = static_cast<uint8_t>(text[i]);
    if (isLead(b) && i + 1 < length) {
      const auto code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[i + 1]));
      if (code != kFullWidthSpace) rasterise(target, at(pen()), at(row), code);
      step(code, 2);
      i += 2;
      continue;
    }
    if (b == 12) {
      row += gap64 + size;
      m = extra = 0;
    } else if (b == '{') {
      inGroup = true;
      groupStart = pen();
    } else if (b == '}') {
      inGroup = false;
    } else if (b == '/' && inGroup) {
      // The ruby: up to the closing brace (or the end), spread over the base text.
      size_t end = i + 1;
      while (end < length && text[end] != '}') end += isLead(static_cast<uint8_t>(text[end])) && end + 1 < length ? 2 : 1;
      const std::string rubyText = text.substr(i + 1, std::min(end, length) - i - 1);
      // Each ruby character's advance: a quarter or half cell, or its own when proportional.
      const auto rubyAdvance = [&](uint16_t code) -> int64_t {
        const int64_t cell = code > 0xFF ? pitch / 2 : pitch / 4;
        const int64_t own = proportional ? ruby.advancePixels(code) : 0;
        return own > 0 ? own + spacing / 2 : cell;
      };
      int64_t characters = 0, measured = 0;
      for (size_t j = 0; j < rubyText.size(); ++j, ++characters) {
        uint16_t code = static_cast<uint8_t>(rubyText[j]);
        if (isLead(static_cast<uint8_t>(rubyText[j])) && j + 1 < rubyText.size())
          code = static_cast<uint16_t>(code << 8 | static_cast<uint8_t>(rubyText[++j]));
        measured += rubyAdvance(code);
      }
      const int64_t w = pen() - groupStart;
      const int64_t r = proportional ? measured : static_cast<int64_t>(rubyText.size()) * pitch / 4;
      const int64_t n = characters + 1;
      const int64_t x0 = groupStart;
      int64_t x = 0, gap = 0;
      if (!proportional && w == 2 * r) {
        x = x0 + pitch / 4;
        gap = pitch / 2;
      } else if (w < r) {
        x = x0 - (r - w) / 2;
      } else {
        gap = (w - r) / n;
        x = x0 + gap;
      }
      const int rubyRow = at(row - size / 2);
      for (size_t j = 0; j < rubyText.size() && x < target.width;) {
        const auto c = static_cast<uint8_t>(rubyText[j]);
        if (isLead(c) && j + 1 < rubyText.size()) {
          const auto code = static_cast<uint16_t>(c << 8 | static_cast<uint8_t>(rubyText[j + 1]));
          j += 2;
          if (code == kFullWidthSpace) continue;
          ruby.rasterise(target, at(x), rubyRow, code);
          x += rubyAdvance(code) + gap;
        } else {
          ruby.rasterise(target, at(x), rubyRow, c);
          x += rubyAdvance(c) + gap;
          ++j;
        }
      }
      inGroup = false;
      i = end + (end < length ? 1 : 0);
      continue;
    } else if (b == 1) {
      ++m;
    } else if (b == ' ') {
      step(b, 1);
    } else {
      rasterise(target, at(pen()), at(row), b);
      step(b, 1);
    }
    ++i;
  }
}

void CString::releaseTextures() {
  for (gpu::Texture*& t : textures_) {
    if (t) t->release();
    t = nullptr;
  }
}

void CString::Release() {
  releaseTextures();
  pX.clear(), pY.clear(), pCode.clear(), pTime.clear(), quads_.clear(), textures_.clear();
  anchors.clear();
  pausePoints.clear();
  capacity = count = shown = fadeStart = typewriterBase = 0;
  bool hadFonts = false;
  for (std::string& added : addedFonts_) {
    hadFonts |= !added.empty();
    added.clear();
  }
  if (hadFonts) clearPrivateFontFiles();
  face_.reset();
  fontName.clear();
  size = cell = baseline = 0;
}

bool CString::recordAddedFont(const std::string& name) {
  for (std::string& slot : addedFonts_)
    if (slot.empty()) {
      slot = name;
      return true;
    }
  return false;
}

namespace {
// Never destroyed: their textures must go before the device, which the shutdown sees to.
std::array<CString*, 4>& instances() {
  static std::array<CString*, 4> all = {new CString(), new CString(), new CString(), new CString()};
  return all;
}
}  // namespace

CString& mainText() { return *instances()[0]; }
CString& rubyText() { return *instances()[1]; }
CString& spriteText() { return *instances()[2]; }
CString& spriteRubyText() { return *instances()[3]; }

void resetTextObjects() {
  for (CString* instance : instances()) {
    instance->Release();
    instance->ResetRasteriser();
  }
}

}  // namespace vellum
