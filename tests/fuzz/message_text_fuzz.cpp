// Any bytes as a story line, as log text for a log sprite, and as a font file: the layout (inline
// command brackets, waits, ruby groups, wrapping at any column count, fixed or proportional), the
// ruby rasteriser and the font reader report or carry on, never crash, hang or write outside their
// buffers. Inline commands are looked up but none is registered, so the scan runs without side
// effects.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/startup.h"
#include "fuzz_support.h"
#include "platform/font_face.h"
#include "script/script_state.h"
#include "text/cstring.h"
#include "text/message_window.h"

// fontconfig allocates its set-up once for the life of the process; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

vellum::CString& logFont() {
  static vellum::CString* text = [] {
    auto* t = new vellum::CString();
    t->Create("\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", 16, 30, 0, false);
    return t;
  }();
  return *text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  if (size < 4) return 0;
  fuzz::gameFolder();
  engine().headless = false;
  resetAllState();
  const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);

  // The line through the layout, resumed after every wait.
  mainText().Create("", 16, static_cast<int>(data[0] & 31), 48, false);
  rubyText().Create("", 8, static_cast<int>(data[0] & 15), 16, false);
  MessageWindow& w = messageWindow();
  w.columns = static_cast<int8_t>(data[1]);
  w.paragraphIndent = data[2] & 1;
  w.quoteIndent = data[2] & 2;
  w.lineEndWait = (data[2] >> 2) & 3;
  w.blankLineWait = (data[2] >> 4) & 7;
  w.proportional = (data[3] & 8) != 0;
  scriptState().postMessageSub = data[3] & 1;
  const int next = data[3] & 2, after = data[3] & 4;
  for (int pass = 0; pass < 4096; ++pass) {
    LayoutMessageLine(text.data(), static_cast<int>(text.size()), &next, &after);
    if (scriptState().textOffset == 0) break;
  }
  mainText().ReSetChar();
  (void)mainText().LastPosition();

  // The same bytes as log text, into a small buffer with a margin that must stay untouched.
  std::vector<uint32_t> block(80 * 80, 0x5A5A5A5A);
  const RasterTarget inner{reinterpret_cast<uint8_t*>(&block[8 * 80 + 8]), 80 * 4, 64, 64, false};
  logFont().RenderRubyText(inner, text, static_cast<int8_t>(data[1]), static_cast<int8_t>(data[2]), logFont(),
                           (data[3] & 8) != 0);
  for (size_t i = 0; i < block.size(); ++i) {
    const size_t x = i % 80, y = i / 80;
    if ((x < 8 || x >= 72 || y < 8 || y >= 72) && block[i] != 0x5A5A5A5A) __builtin_trap();
  }

  // The bytes as a font file.
  FontOpenResult result = FontOpenResult::Failed;
  if (auto face = FontFace::openMemory(std::vector<uint8_t>(data, data + size), 0, result)) {
    if (face->setPixelSize(12)) {
      GlyphBitmap glyph;
      for (char32_t c : {U'A', U'\u3042', U'\u5b57'}) face->renderGlyph(c, true, data[0] & 1, glyph);
    }
    (void)face->nameTable();
  }
  resetAllState();
  return 0;
}
