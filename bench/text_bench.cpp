// Text on this machine: glyphs of a 24-pixel CJK face rasterised by the glyph object (style 16,
// anti-aliased only, and style 30, outline with shadow and gradient) beside a bare FreeType
// load-and-render of the same glyphs; and a full 3-line page laid out and placed into cell
// textures (the renderer on llvmpipe) beside the same glyphs' bare render. Read the figures as
// ratios within one run.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

#include "headless_gl_window.h"
#include "persist/engine_settings.h"
#include "platform/font_provider.h"
#include "render/renderer_state.h"
#include "script/script_state.h"
#include "services/codepage_tables.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace {

using namespace vellum;

constexpr int kSize = 24;
constexpr int kGlyphs = 63;  // three rows of 21

// Common hanzi from the start of the first GB2312 level, as GBK codes.
std::vector<uint16_t> glyphCodes() {
  std::vector<uint16_t> codes;
  for (int i = 0; static_cast<int>(codes.size()) < kGlyphs; ++i) codes.push_back(static_cast<uint16_t>(0xB0A1 + (i / 94) * 256 + i % 94));
  return codes;
}

std::string pageLine(int row) {
  std::string line;
  const std::vector<uint16_t> codes = glyphCodes();
  for (int i = row * 21; i < row * 21 + 21; ++i) {
    line += static_cast<char>(codes[static_cast<size_t>(i)] >> 8);
    line += static_cast<char>(codes[static_cast<size_t>(i)] & 0xFF);
  }
  return line;
}

std::string cjkFontFile() {
  const auto face = findInstalledFace("黑体");
  return face ? face->file : std::string();
}

void BM_BareFreeTypeRender(benchmark::State& state) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  const std::string file = cjkFontFile();
  if (file.empty() || FT_Init_FreeType(&library) || FT_New_Face(library, file.c_str(), 0, &face)) {
    state.SkipWithError("no CJK face");
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, kSize);
  const std::vector<uint16_t> codes = glyphCodes();
  for (auto _ : state)
    for (uint16_t code : codes) {
      FT_Load_Glyph(face, FT_Get_Char_Index(face, doubleByteTables().doubleByteToUtf16[code]), FT_LOAD_NO_BITMAP);
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  state.SetItemsProcessed(state.iterations() * kGlyphs);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_BareFreeTypeRender);

void BM_RasteriseGlyphs(benchmark::State& state) {
  CString text;
  text.Create("\xba\xda\xcc\xe5", kSize, static_cast<int>(state.range(0)), 0, false);  // 黑体 (GBK)
  if (!text.hasFace()) {
    state.SkipWithError("no CJK face");
    return;
  }
  std::vector<uint32_t> cell(32 * 32);
  const RasterTarget target{reinterpret_cast<uint8_t*>(cell.data()), 32 * 4, 32, 32, false};
  const std::vector<uint16_t> codes = glyphCodes();
  for (auto _ : state)
    for (uint16_t code : codes) {
      std::fill(cell.begin(), cell.end(), 0);
      text.rasterise(target, 0, 0, code);
      benchmark::DoNotOptimize(cell.data());
    }
  state.SetItemsProcessed(state.iterations() * kGlyphs);
}
BENCHMARK(BM_RasteriseGlyphs)->Arg(16)->Arg(30);

// A page: three lines of 21 characters laid out and placed into their cell textures.
void BM_LayoutPage(benchmark::State& state) {
  SDL_Window* window = bench::openHeadlessGlWindow(640, 480);
  RendererDisplay d;
  d.renderW = d.clientW = d.monitorW = 640;
  d.renderH = d.clientH = d.monitorH = 480;
  setRendererDisplay(d);
  if (!window || !createRenderer(window)) {
    state.SkipWithError("no renderer");
    return;
  }
  engine().headless = false;  // nothing printed per laid-out line
  resetSettings();
  settings().currentFontName = "\xba\xda\xcc\xe5";
  settings().liveFontStyle = static_cast<int>(state.range(0));
  mainText().Create(settings().currentFontName, kSize, settings().liveFontStyle, 100, false);
  rubyText().Create(settings().currentFontName, kSize / 2, settings().liveFontStyle & 15, 10, false);
  MessageWindow& w = messageWindow();
  w.columns = 20;
  w.fontSize = kSize;
  w.lineHeight = kSize;
  const std::string lines[3] = {pageLine(0), pageLine(1), pageLine(2)};
  const int next = 1, after = 1;
  for (auto _ : state) {
    clearMessagePage();
    for (const std::string& line : lines) {
      scriptState().textOffset = 0;
      LayoutMessageLine(line.c_str(), static_cast<int>(line.size()), &next, &after);
    }
  }
  state.SetItemsProcessed(state.iterations() * kGlyphs);
  resetMessageWindow();
  shutdownRenderer();
  SDL_DestroyWindow(window);
}
BENCHMARK(BM_LayoutPage)->Arg(16)->Arg(30);

}  // namespace
