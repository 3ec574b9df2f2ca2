// The font provider over fontconfig and FreeType: the Windows face names games use find an
// installed CJK face, unknown names find nothing, and faces open, refuse non-fonts and render.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/font_face.h"
#include "platform/font_provider.h"
#include "support/temp_folder.h"

namespace vellum::test {
namespace {

TEST(FontProvider, WindowsFaceNamesFindAnInstalledCjkFace) {
  for (const char* name : {"ＭＳ ゴシック", "黑体", "ＭＳ 明朝", "SimSun", "ms gothic"}) {
    SCOPED_TRACE(name);
    const auto location = findInstalledFace(name);
    ASSERT_TRUE(location.has_value());
    FontOpenResult result = FontOpenResult::Failed;
    auto face = FontFace::openFile(location->file, location->index, result);
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(face->hasGlyph(U'\u3042'));  // あ
    EXPECT_TRUE(face->hasGlyph(U'\u5b57'));  // 字
  }
}

TEST(FontProvider, UnknownNamesFindNothing) {
  EXPECT_FALSE(findInstalledFace("No Such Face 12345").has_value());
  EXPECT_FALSE(findInstalledFace("").has_value());
}

TEST(FontProvider, InstalledFacesListsTheCjkFace) {
  bool japanese = false;
  for (const InstalledFace& face : installedFaces()) japanese |= face.japanese && face.outline;
  EXPECT_TRUE(japanese);
}

TEST(FontFace, RefusesWhatIsNotAFont) {
  TempFolder folder;
  std::ofstream(folder / "bad.ttf") << "not a font at all";
  FontOpenResult result = FontOpenResult::Ok;
  EXPECT_EQ(FontFace::openFile((folder / "bad.ttf").string(), 0, result), nullptr);
  EXPECT_EQ(result, FontOpenResult::UnknownFormat);
  EXPECT_EQ(FontFace::openFile((folder / "missing.ttf").string(), 0, result), nullptr);
  EXPECT_EQ(result, FontOpenResult::Failed);
  EXPECT_EQ(FontFace::openMemory({}, 0, result), nullptr);
}

TEST(FontFace, RendersGlyphsAndTheMissingGlyphBox) {
  const auto location = findInstalledFace("黑体");
  ASSERT_TRUE(location.has_value());
  FontOpenResult result = FontOpenResult::Failed;
  auto face = FontFace::openFile(location->file, location->index, result);
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(face->setPixelSize(24));
  EXPECT_GT(face->baseline(), 12);
  EXPECT_LE(face->baseline(), 24);
  GlyphBitmap glyph;
  for (bool antiAlias : {false, true}) {
    ASSERT_TRUE(face->renderGlyph(U'\u5b57', antiAlias, false, glyph));
    EXPECT_GT(glyph.width, 10);
    EXPECT_LE(glyph.rows, 26);
    int full = 0, partial = 0;
    for (uint8_t k : glyph.coverage) {
      full += k == 255;
      partial += k > 0 && k < 255;
    }
    EXPECT_GT(full, 0);
    if (!antiAlias) {
      EXPECT_EQ(partial, 0);  // 1-bit glyphs are all or nothing
    }
  }
  GlyphBitmap bold;
  ASSERT_TRUE(face->renderGlyph(U'\u5b57', true, true, bold));
  EXPECT_GE(bold.width, glyph.width);
  // A character the face lacks still draws (its missing-glyph box).
  EXPECT_FALSE(face->hasGlyph(U'\ue000'));
  EXPECT_TRUE(face->renderGlyph(U'\ue000', true, false, glyph));
}

}  // namespace
}  // namespace vellum::test
